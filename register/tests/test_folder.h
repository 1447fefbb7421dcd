#pragma once
// A fresh folder per test, removed with its content afterwards.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

class TestFolder {
public:
    TestFolder() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("ombriel-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TestFolder() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

    void Write(const std::filesystem::path& rel, const std::string& bytes) const {
        std::filesystem::create_directories((path_ / rel).parent_path());
        std::ofstream(path_ / rel, std::ios::binary) << bytes;
    }
    std::string Read(const std::filesystem::path& rel) const {
        std::ifstream in(path_ / rel, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::filesystem::path path_;
};
