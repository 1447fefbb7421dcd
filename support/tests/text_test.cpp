// UTF-8 and wide text: every character survives the round trip, and what is
// not text comes out as U+FFFD instead of garbage or an exception.
#include "support/text.h"

#include <gtest/gtest.h>

namespace {

using support::Narrow;
using support::Widen;

TEST(Text, RoundTripKeepsEveryCharacterWhateverItsWidth) {
    for (const char* utf8 :
         {"", "plain", "città €", "łódź", "日本語", "emoji \xF0\x9F\x98\x80 end"}) {
        EXPECT_EQ(Narrow(Widen(utf8)), utf8) << utf8;
    }
    // Outside the basic plane a character takes two UTF-16 units on Windows.
    const std::wstring smile = Widen("\xF0\x9F\x98\x80");
    EXPECT_EQ(smile.size(), sizeof(wchar_t) == 2 ? 2u : 1u);
}

TEST(Text, MalformedUtf8AndLoneSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(Widen("a\xFF"
                    "b"),
              L"a\uFFFDb");
    EXPECT_EQ(Widen("\xC3"), L"\uFFFD") << "a sequence cut short";
    EXPECT_EQ(Widen("\xE0\x80\xAF"), L"\uFFFD") << "an overlong form";
    EXPECT_EQ(Widen("\xED\xA0\x80"), L"\uFFFD") << "an encoded surrogate";
    std::wstring lone(1, static_cast<wchar_t>(0xD800));
    EXPECT_EQ(Narrow(lone + L"x"), "\xEF\xBF\xBDx");
}

TEST(Text, PathsConvertWithoutTheStandardLibrarysConversions) {
    const std::string name = "Relazione annuale ł 日本.pdf";
    EXPECT_EQ(support::Utf8FromPath(support::PathFromUtf8(name)), name);
    EXPECT_EQ(support::PathFromUtf8(name).filename(), support::PathFromUtf8(name));
}

TEST(Text, CodePointsDecodeAndEncodeOneAtATime) {
    const std::string text = "é€\xF0\x9F\x98\x80";
    size_t pos = 0;
    std::string again;
    std::vector<char32_t> points;
    while (pos < text.size()) {
        points.push_back(support::NextCodePoint(text, pos));
        support::AppendUtf8(again, points.back());
    }
    EXPECT_EQ(points, (std::vector<char32_t>{0xE9, 0x20AC, 0x1F600}));
    EXPECT_EQ(again, text);
}

} // namespace
