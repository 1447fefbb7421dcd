#pragma once
// Maps piece numbers onto a progress bar whose range holds at most 65,535
// steps: up to that many pieces each piece is one step; beyond it the pieces
// share the steps evenly, so the bar still runs from start to end once.
#include <cstdint>

class ProgressScale {
public:
    static constexpr uint32_t kMaxSteps = 65535;

    explicit ProgressScale(uint64_t pieces);

    // The bar's range is 1..High().
    uint32_t High() const { return high_; }
    // Position to show just before piece n (1..pieces) is copied.
    uint32_t PositionOf(uint64_t n) const;

private:
    uint64_t pieces_;
    uint32_t high_;
};
