#pragma once
// How Modify and Delete tell a row's entry kind and record name from the text
// of its name-or-path column.
#include <string>
#include <string_view>

namespace ombriel {

struct EntryKey {
    bool isLink = false; // the text holds a backslash: a link's full path
    std::string key;     // the part after the last backslash: the record's key
};

EntryKey EntryKeyOf(std::string_view nameOrPath);

} // namespace ombriel
