#include "core/records/record_list.h"

#include "core/records/sort_keys.h"
#include "support/text.h"

#include <algorithm>
#include <numeric>

namespace ombriel {

bool IsRecordFileName(std::string_view name) {
    if (name.size() < kRecordExtension.size()) {
        return false;
    }
    auto tail = name.substr(name.size() - kRecordExtension.size());
    return std::equal(tail.begin(), tail.end(), kRecordExtension.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? char(a + 32) : a) == b;
    });
}

void SortRecordNames(Platform& platform, std::vector<std::string>& names) {
    // One sort key per name, computed once: the locale comparison is far
    // dearer than a byte comparison, and a register may hold 100,000 names.
    SortKeys keys(platform, names.size());
    for (const auto& n : names) {
        keys.Add(n);
    }
    std::vector<size_t> order(names.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        if (int c = keys[a].compare(keys[b])) {
            return c < 0;
        }
        return names[a] < names[b]; // names equal but for case: keep a stable order
    });
    std::vector<std::string> sorted;
    sorted.reserve(names.size());
    for (size_t i : order) {
        sorted.push_back(std::move(names[i]));
    }
    names = std::move(sorted);
}

Error ListRecordNames(Platform& platform, const std::filesystem::path& folder,
                      std::vector<std::string>& names) {
    names.clear();
    Error e = platform.ListFiles(folder, "*.dat", names);
    std::erase_if(names, [](const std::string& n) { return !IsRecordFileName(n); });
    SortRecordNames(platform, names);
    return e;
}

std::vector<RecordEntry> LoadRecords(Platform& platform, const std::filesystem::path& folder) {
    std::vector<std::string> names;
    if (ListRecordNames(platform, folder, names))
        return {};
    std::vector<RecordEntry> entries;
    entries.reserve(names.size());
    for (auto& name : names) {
        RecordEntry entry;
        entry.key = std::string(RecordKeyOf(name));
        entry.error = ReadRecordFile(platform, folder / support::PathFromUtf8(name), entry.fields);
        entry.fileName = std::move(name);
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace ombriel
