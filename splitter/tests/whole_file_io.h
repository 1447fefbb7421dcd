#pragma once
// Whole-file reads and writes through the splitter's own file layer, so the
// Windows tests reach paths the standard streams cannot.
#include "core/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

inline std::string ReadAll(const std::filesystem::path& path) {
    File f;
    if (!f.Open(path, FileAccess::Read, FileShare::Read, FileDisposition::OpenExisting))
        return "<cannot open>";
    std::string data(static_cast<size_t>(f.Size().value_or(0)), '\0');
    size_t got = 0;
    f.Read(data.data(), data.size(), got);
    return data;
}

inline void WriteAll(const std::filesystem::path& path, const std::string& data) {
    File f;
    ASSERT_TRUE(f.Open(path, FileAccess::Write, FileShare::None, FileDisposition::CreateAlways));
    ASSERT_TRUE(f.Write(data.data(), data.size()));
    ASSERT_TRUE(f.Close());
}
