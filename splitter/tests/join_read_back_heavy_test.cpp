// The check of a join reads a joined file larger than one view of it back:
// a piece's edge inside a view, a view's edge inside a piece, and a damaged
// byte on either side of a view's edge or in the last view all decide the
// verdict as a read through a buffer would.
#include "core/checksum/crc32.h"
#include "core/files/sequential_reader.h"
#include "core/join/join_engine.h"
#include "core/string_ids.h"
#include "fake_operation_ui.h"
#include "test_data.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace zelbrin;
using namespace zelbrin::testing;

namespace fs = std::filesystem;

namespace {
struct ReadBackCase {
    const char* name;
    std::optional<size_t> damaged; // the byte of piece data the .CRC does not hold
    int message;
};

class JoinReadBack : public ::testing::TestWithParam<ReadBackCase> {};

TEST_P(JoinReadBack, VerdictOverMoreThanOneView) {
    TempFolder dir;
    // Two pieces whose edge falls in the first view, the second crossing
    // into the second view, which ends the file.
    const size_t first = kReadViewBytes / 2 + 4321;
    const size_t size = kReadViewBytes + kReadViewBytes / 4;
    std::string whole = Pattern(size);
    WriteBytes(dir / "in" / "big_bin.1", whole.substr(0, first));
    WriteBytes(dir / "in" / "big_bin.2", whole.substr(first));
    if (GetParam().damaged)
        whole[*GetParam().damaged] ^= 0x20;
    WriteBytes(dir / "in" / "big_bin.CRC", LittleEndian(Crc32Of(whole.data(), whole.size())));
    fs::create_directories(dir / "out");

    FakeOperationUi ui;
    ui.inputs.operationMode = OpJoin;
    ui.inputs.source = dir / "in" / "big_bin.1";
    ui.inputs.target = dir / "out";
    JoinFiles(ui);
    EXPECT_EQ(ui.messages, std::vector<int>{GetParam().message});
    EXPECT_EQ(fs::file_size(dir / "out" / "big.bin"), size) << "the joined file stays";
}

INSTANTIATE_TEST_SUITE_P(
    Views, JoinReadBack,
    ::testing::Values(ReadBackCase{"Whole", std::nullopt, IDS_JOIN_SUCCEEDED},
                      ReadBackCase{"LastByteOfTheFirstView", kReadViewBytes - 1,
                                   IDS_JOINED_CRC_ERROR},
                      ReadBackCase{"FirstByteOfTheLastView", kReadViewBytes, IDS_JOINED_CRC_ERROR},
                      ReadBackCase{"LastByteOfTheFile", kReadViewBytes + kReadViewBytes / 4 - 1,
                                   IDS_JOINED_CRC_ERROR}),
    [](const auto& info) { return std::string(info.param.name); });
} // namespace
