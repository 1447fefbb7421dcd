#pragma once
// A writer of another process that keeps its file open: the clean-up of
// leftover temporary files must pass such a file by.
#include <filesystem>

// Opens file as a writer does, writes the file ready to say so, keeps the
// file open until the file release appears, then closes it. False when the
// file cannot be opened or nobody releases it in time.
bool HoldAsWriter(const std::filesystem::path& file, const std::filesystem::path& ready,
                  const std::filesystem::path& release);
