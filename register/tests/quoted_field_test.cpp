#include "core/records/quoted_field.h"
#include "core/records/text_codec.h"

#include <gtest/gtest.h>

using namespace ombriel;

struct ReadCase {
    const char* name;
    std::string text;
    std::vector<std::string> fields;
};

class ReadFieldsTest : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadFieldsTest, ReadsFieldsAsStored) {
    EXPECT_EQ(ReadFields(GetParam().text, 3), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadFieldsTest,
    testing::Values(
        ReadCase{"TwoQuotedLines", "\"\"\r\n\"Offerta 2024\"\r\n", {"", "Offerta 2024"}},
        ReadCase{"CommaInsideQuotesIsKept", "\"a, b\"\r\n", {"a, b"}},
        ReadCase{"CommaSeparatesFields", "\"a\",\"b\"\r\n\"c\"\r\n", {"a", "b", "c"}},
        ReadCase{"LeadingSpacesSkipped", "   \"x\"\r\n  y\r\n", {"x", "y"}},
        ReadCase{"UnquotedEndsAtComma", "C:\\Prog\\a.exe,rest\r\n", {"C:\\Prog\\a.exe", "rest"}},
        ReadCase{"TextAfterClosingQuoteIgnored", "\"abc\"def\r\n\"g\"\r\n", {"abc", "g"}},
        ReadCase{"DoubledQuoteReadsAsOne", "\"say \"\"hi\"\"\"\r\n", {"say \"hi\""}},
        ReadCase{"LoneInnerQuoteEndsField", "\"say \"hi\" there\"\r\n\"n\"\r\n", {"say ", "n"}},
        ReadCase{"BareLineEndsAccepted", "\"a\"\n\"b\"\r\"c\"", {"a", "b", "c"}},
        ReadCase{"EmptyLineIsEmptyField", "\"a\"\r\n\r\n\"c\"\r\n", {"a", "", "c"}},
        ReadCase{"UnclosedQuoteRunsToEnd", "\"abc", {"abc"}},
        ReadCase{"EndsBeforeSecondField", "\"only\"\r\n", {"only"}}, ReadCase{"EmptyText", "", {}},
        ReadCase{"OnlyFirstFieldsRead", "\"1\"\r\n\"2\"\r\n\"3\"\r\n\"4\"\r\n", {"1", "2", "3"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FormatField, PlainTextIsByteExact) {
    EXPECT_EQ(FormatField(""), "\"\"\r\n");
    EXPECT_EQ(FormatField("C:\\Doc\\Offerta.pdf"), "\"C:\\Doc\\Offerta.pdf\"\r\n");
}

TEST(FormatField, InnerQuoteIsDoubledAndReadsBackWhole) {
    for (std::string text : {"\"", "a\"b", "\"quoted\"", "end\"", "\"\"\"\""}) {
        auto line = FormatField(text);
        EXPECT_EQ(ReadFields(line + FormatField("next"), 2),
                  (std::vector<std::string>{text, "next"}))
            << line;
    }
}

TEST(FieldFile, Cp1252TextsStayEightBit) {
    // "Città è" in UTF-8 must be stored as the Windows-1252 bytes.
    auto bytes = EncodeFieldFile({"", "Citt\xC3\xA0 \xC3\xA8 \xE2\x82\xAC"});
    EXPECT_EQ(bytes, "\"\"\r\n\"Citt\xE0 \xE8 \x80\"\r\n");
    EXPECT_EQ(DecodeFieldFile(bytes, 2)[1], "Citt\xC3\xA0 \xC3\xA8 \xE2\x82\xAC");
}

TEST(FieldFile, TextOutsideCp1252IsNotTurnedIntoQuestionMarks) {
    const std::string greek = "\xCE\xB1\xCE\xB2\xCE\xB3 \xE6\x97\xA5"; // "αβγ 日"
    auto bytes = EncodeFieldFile({"C:\\x.pdf", greek});
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(DecodeFieldFile(bytes, 2), (std::vector<std::string>{"C:\\x.pdf", greek}));
}

TEST(TextCodec, EveryCp1252ByteSurvivesARoundTrip) {
    std::string all;
    for (int b = 1; b < 256; ++b) {
        all += char(b);
    }
    auto utf8 = Utf8FromCp1252(all);
    auto back = Cp1252FromUtf8(utf8);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, all);
}

TEST(TextCodec, MalformedUtf8AfterBomIsReplacedNotPassedOn) {
    auto text = DecodeFileText("\xEF\xBB\xBF"
                               "a\xFF"
                               "b\xC3");
    EXPECT_EQ(text, "a\xEF\xBF\xBD"
                    "b\xEF\xBF\xBD");
}
