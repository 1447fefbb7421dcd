#pragma once
// The sort keys of many texts, kept end to end in one string: a first start
// keys every name of a register, and a string of its own for each key would
// take several times the room.
#include "core/platform/platform.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace ombriel {

class SortKeys {
  public:
    // expected: about how many keys will be added.
    SortKeys(Platform& platform, size_t expected);
    void Add(std::string_view text);
    std::string_view operator[](size_t i) const {
        const size_t from = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(bytes_).substr(from, ends_[i] - from);
    }
    size_t size() const { return ends_.size(); }

  private:
    Platform& platform_;
    size_t expected_;
    std::string bytes_;
    std::vector<size_t> ends_;
};

} // namespace ombriel
