// The record commands' file steps on a POSIX system, where the core's tests
// run natively. Failures carry the Windows numbers whose meaning fits, so the
// commands behave and number their failures as they do on Windows.
#include "core/platform/errno_number.h"
#include "core/platform/file_services.h"

#include "core/platform/platform.h"
#include "core/records/record_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include <sys/stat.h>

namespace ombriel {
namespace {

class PosixFileServices : public FileServices {
  public:
    bool Exists(const std::filesystem::path& path) override {
        struct stat st;
        return ::stat(path.c_str(), &st) == 0;
    }
    Error EnsureFolder(const std::filesystem::path& folder) override {
        if (::mkdir(folder.c_str(), 0777) == 0)
            return {};
        int err = errno;
        struct stat st;
        if (err == EEXIST && ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return {};
        return FromErrno(err);
    }
    Error MoveDocument(const std::filesystem::path& from,
                       const std::filesystem::path& to) override {
        // A hard link fails on an existing target, so nothing is ever replaced.
        if (::link(from.c_str(), to.c_str()) == 0) {
            if (::unlink(from.c_str()) == 0)
                return {};
            int err = errno;
            ::unlink(to.c_str());
            return FromErrno(err);
        }
        if (errno != EXDEV)
            return FromErrno(errno);
        return CopyThenRemove(from, to);
    }
    Error RemoveFile(const std::filesystem::path& file) override {
        struct stat st;
        if (::lstat(file.c_str(), &st) == 0 && S_ISDIR(st.st_mode))
            return Failure(kErrAccessDenied);
        if (::unlink(file.c_str()) != 0)
            return FromErrno(errno);
        return {};
    }
    Error WriteRecord(const std::filesystem::path& recordFile, const std::string& target,
                      const std::string& description) override {
        return WriteRecordFile(SystemPlatform(), recordFile, RecordFields{target, description});
    }
    Error RestoreWorkingFolder(const std::filesystem::path& startFolder) override {
        if (::chdir(startFolder.c_str()) != 0)
            return FromErrno(errno);
        return {};
    }
    std::string Describe(uint32_t number) override { return SystemPlatform().Describe(number); }

  private:
    Error FromErrno(int err) { return Failure(ErrorNumberFromErrno(err)); }

    Error CopyThenRemove(const std::filesystem::path& from, const std::filesystem::path& to) {
        std::error_code ec;
        std::filesystem::copy_file(from, to, std::filesystem::copy_options::none, ec);
        if (ec) {
            // A partial copy must not stay behind as if it were the document.
            if (ec.value() != EEXIST)
                std::filesystem::remove(to);
            return FromErrno(ec.value());
        }
        if (::unlink(from.c_str()) != 0) {
            int err = errno;
            ::unlink(to.c_str());
            return FromErrno(err);
        }
        return {};
    }
};

} // namespace

FileServices& SystemFileServices() {
    static PosixFileServices services;
    return services;
}

} // namespace ombriel
