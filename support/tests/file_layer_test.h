#pragma once
// What the file layer must do on every system, written once: each system's
// test file (file_layer_win_test.cpp, file_layer_posix_test.cpp) runs these
// cases against its own functions and error codes.
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace support::testing {

// The layer of one system: its write through a temporary, and the codes its
// system reports for a taken name and a refused write.
// canSeeReadOnly: false where the user may write a read-only file anyway
// (root on POSIX), so the refusal cannot be seen.
template <class Layer> void CheckWriteThroughTemporary(bool canSeeReadOnly) {
    TempFolder dir;
    const std::filesystem::path target = dir / "record.dat";
    int named = 0;
    const auto names = [&] { return dir / ("record.dat." + std::to_string(++named) + ".tmp~"); };
    const auto onlyTarget = [&] {
        return std::distance(std::filesystem::directory_iterator(dir.Path()), {}) == 1;
    };

    // Created whole, and nothing else is left.
    EXPECT_EQ(Layer::WriteThrough(target, "first", names, 4, false), 0u);
    EXPECT_EQ(ReadBytes(target), "first");
    EXPECT_TRUE(onlyTarget());

    // Without `replace` a taken name is refused and keeps its bytes.
    EXPECT_EQ(Layer::WriteThrough(target, "second", names, 4, false), Layer::kNameTaken);
    EXPECT_EQ(ReadBytes(target), "first");
    EXPECT_TRUE(onlyTarget());

    // With it, the file is replaced in one step.
    EXPECT_EQ(Layer::WriteThrough(target, "third", names, 4, true), 0u);
    EXPECT_EQ(ReadBytes(target), "third");
    EXPECT_TRUE(onlyTarget());

    // A temporary name another writer holds is passed over.
    WriteBytes(dir / ("record.dat." + std::to_string(named + 1) + ".tmp~"), "another writer's");
    EXPECT_EQ(Layer::WriteThrough(target, "fourth", names, 4, true), 0u);
    EXPECT_EQ(ReadBytes(target), "fourth");
    std::filesystem::remove(dir / ("record.dat." + std::to_string(named - 1) + ".tmp~"));
    EXPECT_TRUE(onlyTarget());

    // A read-only target refuses the replacement, as it refuses a write.
    if (canSeeReadOnly) {
        Layer::MakeReadOnly(target);
        EXPECT_EQ(Layer::WriteThrough(target, "fifth", names, 4, true), Layer::kRefused);
        EXPECT_EQ(ReadBytes(target), "fourth");
        EXPECT_TRUE(onlyTarget());
        Layer::MakeWritable(target);
    }
}

} // namespace support::testing
