// Property: for random sizes, methods and values, a split completes, its
// pieces join back to the source, and one changed byte shows as a CRC error.
#include "core/join/join_engine.h"
#include "core/naming/piece_names.h"
#include "core/split/split_engine.h"
#include "core/string_ids.h"
#include "fake_operation_ui.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include "support/testing/files.h"
#include "support/testing/temp_folder.h"
#include <random>

using namespace zelbrin;
using namespace zelbrin::testing;

namespace fs = std::filesystem;

namespace {
struct Trial {
    std::string name;
    std::string data;
    int32_t mode;
    std::string value;
    SizeUnit unit = SizeUnit::Bytes;
};

// Data and split settings drawn at random, each with a piece plan that
// exists, so the split always completes and the join has a set to rebuild.
Trial DrawTrial(std::mt19937& gen) {
    auto pick = [&](uint64_t lo, uint64_t hi) {
        return std::uniform_int_distribution<uint64_t>(lo, hi)(gen);
    };
    // Sizes around the copy blocks of split (512,000) and join (204,800).
    static const uint64_t kEdges[] = {1,      2,      204799, 204800,  204801,
                                      511999, 512000, 512001, 1024000, 1024001};
    const uint64_t size = pick(0, 3) == 0 ? kEdges[pick(0, 9)] : pick(1, 1'500'000);
    static const char* kNames[] = {"data.bin", "my_file.tar.gz", "README", "x.y.z", "a b.txt"};
    Trial t{kNames[pick(0, 4)], RandomBytes(size, static_cast<uint32_t>(gen())), ByPieces, ""};
    switch (pick(0, 3)) {
    case 0:
        t.mode = ByPieces;
        t.value = std::to_string(pick(1, std::min<uint64_t>(size, 40)));
        break;
    case 1:
        if (size < 2)
            return DrawTrial(gen);
        t.mode = BySize;
        t.value = std::to_string(pick(std::max<uint64_t>(1, size / 40), size - 1));
        break;
    case 2:
        if (size <= 2048)
            return DrawTrial(gen);
        t.mode = BySize;
        if (size > (1u << 20) && pick(0, 1) == 0) {
            t.unit = SizeUnit::MBs;
            t.value = "1";
        } else {
            t.unit = SizeUnit::KBs;
            t.value = std::to_string(pick(1, (size - 1) / 1024));
        }
        break;
    default: {
        // Five distinct bytes (zero among them), so a keyword of four to six
        // of them occurs now and then, some hundred times at most.
        t.mode = ByKeyword;
        t.data.resize(std::min<size_t>(t.data.size(), 400000));
        for (auto& c : t.data)
            c = "abcd\0"[static_cast<unsigned char>(c) % 5];
        t.value.clear();
        for (uint64_t k = pick(4, 6); k > 0; --k)
            t.value.push_back("abcd"[pick(0, 3)]);
        t.data.replace(0, std::min(t.value.size(), t.data.size()), t.value);
        t.data.resize(std::max(t.data.size(), t.value.size()));
        break;
    }
    }
    return t;
}

std::string Describe(const Trial& t) {
    return t.name + " size " + std::to_string(t.data.size()) + " mode " + std::to_string(t.mode) +
           " value '" + t.value + "' unit " + std::to_string(static_cast<int>(t.unit));
}
} // namespace

TEST(SplitJoinRoundTrip, JoinedFileEqualsTheSourceAndOneChangedByteGivesCrcError) {
    std::mt19937 gen(20118);
    for (int i = 0; i < 30; ++i) {
        const Trial t = DrawTrial(gen);
        SCOPED_TRACE(Describe(t));
        TempFolder dir;
        WriteBytes(dir / "src" / t.name, t.data);
        fs::create_directories(dir / "pieces");
        fs::create_directories(dir / "joined");

        FakeOperationUi split;
        split.inputs = {OpSplit, t.mode, dir / "src" / t.name, dir / "pieces", t.value,
                        t.unit,  true};
        const SplitResult result = SplitFile(split);
        ASSERT_EQ(split.messages, std::vector<int>{IDS_SPLIT_SUCCEEDED});

        // Exactly the pieces the split says it wrote, none of them empty.
        const std::string stem = ReplaceLastDot(t.name);
        for (uint64_t n = 1; n <= result.piecesWritten; ++n)
            EXPECT_GT(fs::file_size(dir / "pieces" / (stem + "." + std::to_string(n))), 0u) << n;
        EXPECT_FALSE(
            fs::exists(dir / "pieces" / (stem + "." + std::to_string(result.piecesWritten + 1))));
        FakeOperationUi join;
        join.inputs.operationMode = OpJoin;
        join.inputs.source = dir / "pieces" / (stem + ".1");
        join.inputs.target = dir / "joined";
        JoinFiles(join);
        EXPECT_EQ(join.messages, std::vector<int>{IDS_JOIN_SUCCEEDED});
        EXPECT_EQ(ReadBytes(dir / "joined" / t.name), t.data);

        // One byte of one non-empty piece changed: the join still writes the
        // file, and says it does not match.
        fs::path damaged;
        for (uint64_t n = 1; fs::exists(dir / "pieces" / (stem + "." + std::to_string(n))); ++n) {
            const fs::path p = dir / "pieces" / (stem + "." + std::to_string(n));
            if (fs::file_size(p) > 0 && (damaged.empty() || gen() % 2))
                damaged = p;
        }
        std::string bytes = ReadBytes(damaged);
        const size_t at = gen() % bytes.size();
        bytes[at] = static_cast<char>(bytes[at] ^ (1 + gen() % 255));
        WriteBytes(damaged, bytes);
        FakeOperationUi again;
        again.inputs = join.inputs;
        JoinFiles(again);
        EXPECT_EQ(again.messages, std::vector<int>{IDS_JOINED_CRC_ERROR});
        EXPECT_EQ(fs::file_size(dir / "joined" / t.name), t.data.size());
    }
}
