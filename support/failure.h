#pragma once
// A failure of the file system as both programs report it, and the one way
// its box text is laid out: what failed, then the file, then the system's
// reason.
#include <cstdint>
#include <filesystem>
#include <string>

namespace support {

struct Failure {
    std::string what;           // UTF-8: what the program could not do
    std::filesystem::path file; // the file it concerns; empty for none
    uint32_t systemCode = 0;    // the system's error code; 0 for none
};

// "what", a blank line and the file's path when there is one, and a line
// with the system's text for the code when there is one.
std::string FailureText(const Failure& failure);

} // namespace support
