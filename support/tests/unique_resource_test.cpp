// The owners close exactly once whatever way a handle leaves them, and the
// scope guard undoes a step unless it was dismissed.
#include "support/scope_guard.h"
#include "support/unique_resource.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> closed;

struct CountingTraits {
    using Handle = int;
    static constexpr Handle kNone = 0;
    static bool Valid(Handle h) { return h > 0; }
    static bool Close(Handle h) {
        closed.push_back(h);
        return h != 13; // 13 is a handle whose close fails
    }
};
using Owner = support::UniqueResource<CountingTraits>;

TEST(UniqueResource, ClosesOnceWhenMovedResetOrGoneAndNeverWhatItGaveUp) {
    closed.clear();
    {
        Owner a(1);
        Owner b(std::move(a));
        EXPECT_FALSE(a.Valid());
        Owner c(2);
        c = std::move(b); // 2 is closed, 1 moves on
        EXPECT_EQ(closed, std::vector<int>{2});
        Owner d(3);
        EXPECT_EQ(d.Release(), 3);
        Owner e(13);
        EXPECT_FALSE(e.Reset(4)) << "a failed close is reported";
    }
    EXPECT_EQ(closed, (std::vector<int>{2, 13, 4, 1}));
}

TEST(ScopeGuard, RunsOnEveryWayOutUnlessDismissed) {
    int undone = 0;
    {
        support::ScopeGuard undo([&] { ++undone; });
    }
    EXPECT_EQ(undone, 1);
    try {
        support::ScopeGuard undo([&] { ++undone; });
        throw 1;
    } catch (int) {
    }
    EXPECT_EQ(undone, 2);
    {
        support::ScopeGuard undo([&] { ++undone; });
        undo.Dismiss();
    }
    EXPECT_EQ(undone, 2);
}

} // namespace
