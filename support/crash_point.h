#pragma once
// A hook for the tests that end a program at each step that changes a file,
// to show that no moment of a crash loses a document or leaves a file half
// written. The file layers of both programs pass it just before every such
// step. The programs people run link a version that does nothing
// (support/release/no_crash_points.cpp); the tests link the armed one here.
#include <cstdint>
#include <functional>

namespace support {

// Passed by the file layers just before a step that creates, writes, renames
// or removes a file or a folder.
void CrashPoint();

// For tests: the nth CrashPoint() from now on runs crash() instead of going
// on; a crash that returns lets the step go ahead. The hook is disarmed
// before crash() runs, so crash() may itself change files.
void ArmCrashPoint(uint64_t nth, std::function<void()> crash);
void DisarmCrashPoint();
// CrashPoint() calls since the hook was last armed (or since the start).
uint64_t CrashPointsPassed();

} // namespace support
