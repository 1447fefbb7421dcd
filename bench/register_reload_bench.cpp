// The register's reload against the floor it cannot beat: a bare loop that
// only lists the Doc folder, opens each record file, reads it and closes it.
//   ombriel_reload_bench --make <count> <folder>   writes a register of count records
//   ombriel_reload_bench --bare <folder>           one bare loop, nothing else
//   ombriel_reload_bench <folder>...               times both on each register
#include "core/grid/grid_model.h"
#include "core/grid/reload.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void MakeRegister(int count, const std::filesystem::path& folder) {
    const char* types[] = {"pdf", "doc", "xls", "exe", "txt"};
    auto doc = folder / "Doc";
    std::filesystem::remove_all(doc);
    std::filesystem::create_directories(doc);
    std::ofstream(folder / "Ombriel.ini", std::ios::binary) << "\"\"\r\n\"\"\r\n\"\"\r\n";
    for (int i = 0; i < count; ++i) {
        char key[64];
        std::snprintf(key, sizeof key, "Documento %06d.%s", (i * 7919) % count, types[i % 5]);
        std::string target = i % 4 == 0 ? std::string("C:\\Archivio\\Pratiche\\") + key : "";
        std::ofstream out(doc / (std::string(key) + ".dat"), std::ios::binary);
        out << '"' << target << "\"\r\n\"Descrizione del documento numero " << i << "\"\r\n";
    }
}

// List, open, read, close: nothing more.
size_t BareLoop(const std::filesystem::path& folder) {
    size_t bytes = 0;
    char buffer[8192];
#ifdef _WIN32
    std::wstring doc = (folder / L"Doc").wstring();
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileExW((doc + L"\\*.dat").c_str(), FindExInfoBasic, &fd,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        return 0;
    }
    do {
        HANDLE f = CreateFileW((doc + L"\\" + fd.cFileName).c_str(), GENERIC_READ,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (f != INVALID_HANDLE_VALUE) {
            DWORD got = 0;
            ReadFile(f, buffer, sizeof buffer, &got, nullptr);
            bytes += got;
            CloseHandle(f);
        }
    } while (FindNextFileW(find, &fd));
    FindClose(find);
#else
    std::string doc = (folder / "Doc").string();
    DIR* dir = opendir(doc.c_str());
    if (!dir) {
        return 0;
    }
    while (dirent* d = readdir(dir)) {
        std::string name = d->d_name;
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".dat") != 0) {
            continue;
        }
        int fd = open((doc + "/" + name).c_str(), O_RDONLY);
        if (fd >= 0) {
            ssize_t n = read(fd, buffer, sizeof buffer);
            bytes += n > 0 ? size_t(n) : 0;
            close(fd);
        }
    }
    closedir(dir);
#endif
    return bytes;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--make") {
        MakeRegister(std::stoi(argv[2]), argv[3]);
        return 0;
    }
    if (argc == 3 && std::string(argv[1]) == "--bare") {
        // One cold pass in a fresh process, timed from outside like a program start.
        return BareLoop(argv[2]) > 0 ? 0 : 1;
    }
    std::printf("%-12s %8s %14s %14s %12s %12s %7s\n", "register", "records", "bare 1st ms",
                "reload 2nd ms", "bare ms", "reload ms", "ratio");
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path folder = argv[i];
        double bare = 1e30;
        double reload = 1e30;
        double bareFirst = 0;
        double reloadFirst = 0;
        int rows = 0;
        // Best of three, alternating, so neither side has the warmer cache.
        for (int round = 0; round < 3; ++round) {
            auto t0 = Clock::now();
            BareLoop(folder);
            double b = Ms(Clock::now() - t0);
            bare = std::min(bare, b);
            bareFirst = round == 0 ? b : bareFirst;
            ombriel::GridModel grid;
            t0 = Clock::now();
            ombriel::ReloadRecords(grid, ombriel::SystemPlatform(), folder / "Doc", false);
            double r = Ms(Clock::now() - t0);
            reload = std::min(reload, r);
            reloadFirst = round == 0 ? r : reloadFirst;
            rows = grid.Rows() - 1;
        }
        // The first round of each is the cold start of this process.
        std::printf("%-12s %8d %14.1f %14.1f %12.1f %12.1f %7.2f\n",
                    folder.filename().string().c_str(), rows, bareFirst, reloadFirst, bare, reload,
                    reload / bare);
    }
    return 0;
}
