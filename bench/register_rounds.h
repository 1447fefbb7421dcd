#pragma once
// What the register's benches share: how many rounds each figure takes, and
// the figure they give.
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace bench {

// BENCH_ROUNDS, default 3.
inline int RoundsWanted() {
    int rounds = 3;
    if (const char* r = std::getenv("BENCH_ROUNDS"))
        rounds = std::max(1, std::atoi(r));
    return rounds;
}

// The middle round: one busy moment of a shared machine moves it less than
// it moves a mean or a best.
template <class T> T Median(std::vector<T> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace bench
