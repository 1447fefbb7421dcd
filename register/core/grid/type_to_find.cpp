#include "core/grid/type_to_find.h"

#include "support/text.h"

namespace ombriel {
namespace {

// The plain letter of each character from U+00C0 to U+00FF; '*' marks one
// without a plain form (Æ, Ð, ×, Þ, ß and their lower cases), which only
// loses its upper case.
constexpr char kLatin1[] = "aaaaaa*ceeeeiiii*nooooo*ouuuuy**"
                           "aaaaaa*ceeeeiiii*nooooo*ouuuuy*y";
// The plain letter of each character from U+0100 to U+017F (Latin
// Extended-A); a ligature (Ĳ, Œ) folds to its first letter.
constexpr char kLatinExtendedA[] = "aaaaaaccccccccddddeeeeeeeeeegggg"
                                   "gggghhhhiiiiiiiiiiiijjkkklllllll"
                                   "lllnnnnnnnnnoooooooorrrrrrssssss"
                                   "ssttttttuuuuuuuuuuuuwwyyyzzzzzzs";

} // namespace

char32_t FoldForSearch(char32_t c) {
    if (c >= U'A' && c <= U'Z')
        return c + 32;
    if (c < 0xC0)
        return c;
    if (c <= 0xFF) {
        const char plain = kLatin1[c - 0xC0];
        if (plain != '*')
            return char32_t(plain);
        return c <= 0xDE && c != 0xD7 ? c + 0x20 : c;
    }
    if (c <= 0x17F)
        return char32_t(kLatinExtendedA[c - 0x100]);
    // Greek and Cyrillic capitals: their lower cases lie at a fixed distance.
    if ((c >= 0x391 && c <= 0x3A9 && c != 0x3A2) || (c >= 0x410 && c <= 0x42F))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    return c;
}

bool StartsWithFolded(std::string_view utf8, std::u32string_view foldedPrefix) {
    size_t pos = 0;
    for (char32_t want : foldedPrefix) {
        if (pos >= utf8.size())
            return false;
        const unsigned char byte = static_cast<unsigned char>(utf8[pos]);
        // Plain ASCII, the usual case, without decoding.
        const char32_t got = byte < 0x80 ? (++pos, FoldForSearch(byte))
                                         : FoldForSearch(support::NextCodePoint(utf8, pos));
        if (got != want)
            return false;
    }
    return true;
}

int TypeToFind::Type(char32_t c, uint64_t nowMs, const GridModel& grid, int currentRow) {
    if (!typed_ || nowMs - lastMs_ > kPauseMs)
        prefix_.clear();
    typed_ = true;
    lastMs_ = nowMs;
    prefix_ += FoldForSearch(c);

    const int dataRows = grid.Rows() - 1;
    if (dataRows < 1)
        return 0;
    if (currentRow < 1 || currentRow > dataRows)
        currentRow = 0;
    // One letter, or the same letter again and again, steps to the next entry
    // that starts with it; a longer prefix may still match the current one.
    const bool oneLetter = prefix_.find_first_not_of(prefix_[0]) == std::u32string::npos;
    const std::u32string_view wanted =
        oneLetter ? std::u32string_view(prefix_).substr(0, 1) : std::u32string_view(prefix_);
    const int first = currentRow == 0 ? 1 : (oneLetter ? currentRow % dataRows + 1 : currentRow);
    for (int i = 0; i < dataRows; ++i) {
        const int row = (first - 1 + i) % dataRows + 1;
        if (StartsWithFolded(grid.TextMatrix(row, 1), wanted))
            return row;
    }
    return 0;
}

} // namespace ombriel
