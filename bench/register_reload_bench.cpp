// The register's reload against the floors it cannot beat: a bare listing of
// the Doc folder, and a bare loop that lists it, opens each record file,
// reads it and closes it (one thread).
//   ombriel_reload_bench --make <count> <folder>   writes a register of count records
//   ombriel_reload_bench --bare <folder>           one bare loop, nothing else
//   ombriel_reload_bench --start <folder>          one start as the program's (from the
//       cache when there is one, leaving it), then a reload after one record changed:
//       a process whose peak memory is that of a run of the program
//   ombriel_reload_bench <folder>...               times them on each register: the
//       first start (no cache; the median of a few, alternating with the bare
//       loop's), the second start (the first's cache), and a command's reload
//       after one record changed (the medians of as many)
#include "core/grid/grid_model.h"
#include "core/grid/reload.h"
#include "core/records/record_file.h"
#include "core/records/record_store.h"
#include "register_rounds.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
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

// Only the listing, with the sizes and times the reload needs.
size_t BareListing(const std::filesystem::path& folder) {
    size_t files = 0;
#ifdef _WIN32
    std::wstring doc = (folder / L"Doc").wstring();
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileExW((doc + L"\\*").c_str(), FindExInfoBasic, &fd,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) {
        return 0;
    }
    do {
        files += fd.nFileSizeLow > 0 ? 1 : 0;
    } while (FindNextFileW(find, &fd));
    FindClose(find);
#else
    std::string doc = (folder / "Doc").string();
    DIR* dir = opendir(doc.c_str());
    if (!dir) {
        return 0;
    }
    while (dirent* d = readdir(dir)) {
        struct stat st;
        if (fstatat(dirfd(dir), d->d_name, &st, 0) == 0 && st.st_size > 0) {
            ++files;
        }
    }
    closedir(dir);
#endif
    return files;
}

std::filesystem::path CacheOf(const std::filesystem::path& folder) {
    return folder.parent_path() / (folder.filename().string() + ".bench-cache");
}

// A command's reload after the last record's text changed; the record is
// given its text back afterwards. The reload's milliseconds.
double ReloadAfterOneChange(const std::filesystem::path& folder, ombriel::GridModel& grid,
                            ombriel::RecordStore& store, const std::string& mark) {
    const ombriel::StoredRecord last = store.Records().back();
    const std::filesystem::path file = folder / "Doc" / last.fileName;
    ombriel::WriteRecordFile(ombriel::SystemPlatform(), file,
                             {last.fields.target, last.fields.description + " " + mark});
    const auto t0 = Clock::now();
    ombriel::ReloadRecords(grid, store, false);
    const double ms = Ms(Clock::now() - t0);
    ombriel::WriteRecordFile(ombriel::SystemPlatform(), file,
                             {last.fields.target, last.fields.description});
    return ms;
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
    if (argc == 3 && std::string(argv[1]) == "--start") {
        const std::filesystem::path folder = argv[2];
        ombriel::GridModel grid;
        ombriel::RecordStore store(ombriel::SystemPlatform(), folder / "Doc", CacheOf(folder));
        if (ombriel::ReloadRecords(grid, store, false))
            return 1;
        store.SaveCacheIfChanged();
        ReloadAfterOneChange(folder, grid, store, "(modificata)");
        return 0;
    }
    // Rounds of the bare loop and the first start.
    const int rounds = bench::RoundsWanted();
    std::printf("%-12s %8s %10s %10s %11s %11s %11s %9s %9s\n", "register", "records", "list ms",
                "bare ms", "first ms", "second ms", "change ms", "1st/bare", "2nd/bare");
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path folder = argv[i];
        const std::filesystem::path cache = CacheOf(folder);
        auto t0 = Clock::now();
        BareListing(folder);
        const double list = Ms(Clock::now() - t0);

        // The bare loop and the first start (no cache) alternate, each pair in
        // turns one way round and the other, so that a busy moment of the
        // machine falls on both alike; the figures are the medians.
        std::vector<double> bares, firsts;
        for (int round = 0; round < rounds; ++round) {
            if (round % 2 == 0) {
                t0 = Clock::now();
                BareLoop(folder);
                bares.push_back(Ms(Clock::now() - t0));
            }
            // As the program starts: fill the grid, then keep the records read.
            std::filesystem::remove(cache);
            ombriel::GridModel grid;
            t0 = Clock::now();
            {
                ombriel::RecordStore store(ombriel::SystemPlatform(), folder / "Doc", cache);
                ombriel::ReloadRecords(grid, store, false);
            }
            firsts.push_back(Ms(Clock::now() - t0));
            if (round % 2 != 0) {
                t0 = Clock::now();
                BareLoop(folder);
                bares.push_back(Ms(Clock::now() - t0));
            }
        }
        const double bare = bench::Median(bares);
        const double first = bench::Median(firsts);

        // Second starts from the last first start's cache, and commands'
        // reloads, each after one record changed: as many as the rounds
        // above, and their medians, as one moment of a busy machine moves a
        // single figure of a second or less a long way.
        std::vector<double> seconds, changes;
        ombriel::GridModel again;
        for (int round = 0; round < rounds; ++round) {
            ombriel::GridModel grid;
            ombriel::RecordStore store(ombriel::SystemPlatform(), folder / "Doc", cache);
            t0 = Clock::now();
            ombriel::ReloadRecords(grid, store, false);
            seconds.push_back(Ms(Clock::now() - t0));
        }
        ombriel::RecordStore store(ombriel::SystemPlatform(), folder / "Doc", cache);
        ombriel::ReloadRecords(again, store, false);
        for (int round = 0; round < rounds; ++round)
            changes.push_back(ReloadAfterOneChange(folder, again, store,
                                                   "(modificata " + std::to_string(round) + ")"));
        const double second = bench::Median(seconds);
        const double change = bench::Median(changes);
        std::printf("%-12s %8d %10.1f %10.1f %11.1f %11.1f %11.1f %9.2f %9.2f\n",
                    folder.filename().string().c_str(), again.Rows() - 1, list, bare, first, second,
                    change, first / bare, second / bare);
        std::fflush(stdout);
    }
    return 0;
}
