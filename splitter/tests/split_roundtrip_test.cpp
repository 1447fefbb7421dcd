// Property: for random sizes, methods and values, the pieces concatenate to
// the source and the stored checksum is the checksum of the source.
#include "core/checksum_file.h"
#include "core/crc32.h"
#include "core/message_ids.h"
#include "core/split_engine.h"
#include "fake_operation_ui.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <random>

namespace fs = std::filesystem;

namespace {
TEST(SplitRoundTrip, PiecesRejoinToTheSourceWithItsChecksum) {
    Crc32InitTable();
    std::mt19937_64 rng(4242);
    TempFolder dir;
    const std::vector<size_t> edges = {1, 2, 511999, 512000, 512001, 1023999, 1024000, 1024001};
    int completed[3] = {0, 0, 0};
    for (int round = 0; round < 60; ++round) {
        size_t size = round < static_cast<int>(edges.size()) ? edges[round]
                                                             : 1 + rng() % (3 * 1024 * 1024);
        if (round % 5 == 4)
            size = TransferChunk * (1 + rng() % 4) + (rng() % 3) - 1;
        std::string data(size, '\0');
        for (char& c : data)
            c = "abz\0Y"[rng() % 5];
        // A few keyword bytes, also at the very start and end now and then.
        for (int k = static_cast<int>(rng() % 12); k > 0; --k)
            data[rng() % size] = 'K';
        if (rng() % 4 == 0)
            data.back() = 'K';
        const fs::path source = dir / ("src" + std::to_string(round) + ".dat");
        WriteBytes(source, data);
        const fs::path out = dir / ("out" + std::to_string(round));
        fs::create_directories(out);

        FakeOperationUi ui;
        const int mode = static_cast<int>(rng() % 3);
        std::string value;
        SizeUnit unit = SizeUnit::Bytes;
        if (mode == ByPieces) {
            value = std::to_string(1 + rng() % 40);
        } else if (mode == BySize) {
            const int u = static_cast<int>(rng() % 3);
            unit = u == 0 ? SizeUnit::Bytes : u == 1 ? SizeUnit::KBs : SizeUnit::MBs;
            const uint64_t scale = u == 0 ? 1 : u == 1 ? 1024 : 1048576;
            const uint64_t most = std::max<uint64_t>(1, (size - 1) / scale);
            value = std::to_string(1 + rng() % most);
        } else {
            value = rng() % 2 ? "K" : "zK";
        }
        ui.inputs = {OpSplit, mode, source, out, value, unit, true};
        SplitFile(ui);
        SCOPED_TRACE("round " + std::to_string(round) + " size " + std::to_string(size) +
                     " mode " + std::to_string(mode) + " value " + value);
        if (ui.messages.empty())
            continue; // no plan (value not below the size) or keyword absent: nothing written
        ASSERT_EQ(ui.messages, std::vector<int>{MsgSplitSucceeded});
        const fs::path base = out / ("src" + std::to_string(round) + "_dat");
        std::string joined;
        for (uint64_t n = 1; n <= PiecesWritten; ++n) {
            const std::string piece = ReadBytes(MakePieceName(base, n));
            if (mode == ByKeyword) {
                ASSERT_FALSE(piece.empty()) << "piece " << n;
            }
            joined += piece;
        }
        EXPECT_FALSE(fs::exists(MakePieceName(base, PiecesWritten + 1)));
        ASSERT_EQ(joined, data);
        fs::path crc = base;
        crc += ".CRC";
        EXPECT_EQ(ReadChecksumFile(crc).value, ChecksumOfFile(source));
        ++completed[mode];
        fs::remove_all(out);
        fs::remove(source);
    }
    for (int mode = 0; mode < 3; ++mode)
        EXPECT_GE(completed[mode], 8) << "too few completed splits of method " << mode;
}
} // namespace
