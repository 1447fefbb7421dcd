// The description offered for a new entry, and the character-wise cuts it
// rests on.
#include "core/commands/default_description.h"
#include "core/commands/entry_key.h"
#include "core/grid/row_selection.h"

#include <gtest/gtest.h>

namespace ombriel {
namespace {

TEST(DefaultDescription, CutsCharactersNotBytesAndNeverFailsOnShortNames) {
    struct Case {
        const char* name;
        const char* expected;
    } cases[] = {
        {"report.pdf", "report"},
        {"tab.xls", "tab"},
        {"Relazione.docx", "Relazione."}, // the rule takes four characters, whatever they are
        {"città.pdf", "città"},
        {"perché", "pe"}, // six characters, seven bytes: no half letter left
        {"日本語.doc", "日本語"},
        {"a.pd", ""},   // four characters: the rule still applies
        {"a.b", "a"},   // shorter: the name without its extension
        {"abc", "abc"}, // shorter and no dot: the whole name
        {".ab", ".ab"}, // a leading dot is not an extension
        {"è.x", "è"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DefaultDescription(c.name), c.expected) << c.name;
}

TEST(EntryKeyOf, LastBackslashSeparatesLinkPathFromKey) {
    struct Case {
        const char* shown;
        bool isLink;
        const char* key;
    } cases[] = {
        {"report.pdf", false, "report.pdf"},
        {"C:\\A\\report.pdf", true, "report.pdf"},
        {"\\\\srv\\share\\x.doc", true, "x.doc"},
        {"D:\\Dati\\", true, ""},
        {"", false, ""},
    };
    for (const auto& c : cases) {
        EntryKey k = EntryKeyOf(c.shown);
        EXPECT_EQ(k.isLink, c.isLink) << c.shown;
        EXPECT_EQ(k.key, c.key) << c.shown;
    }
}

TEST(ClickRow, SelectionAndHintFollowTheClickedCell) {
    auto cell = [](int row, int column) {
        std::string text(1, 'r');
        text += std::to_string(row);
        text += 'c';
        text += std::to_string(column);
        return text;
    };
    struct Case {
        int row, column;
        int selected;
        const char* hint;
    } cases[] = {
        {3, 2, 3, "r3c2"}, // name-or-path column: hint shows its text
        {3, 1, 3, ""},     // description column: hint cleared, row kept
        {0, 2, 0, ""},     // header row: no selection
        {-1, 0, 0, ""},    // no row at all
        {1, 0, 1, ""},
    };
    for (const auto& c : cases) {
        RowClick click = ClickRow(c.row, c.column, cell);
        EXPECT_EQ(click.selectedRow, c.selected) << c.row << "," << c.column;
        EXPECT_EQ(click.hint, c.hint) << c.row << "," << c.column;
    }
}

} // namespace
} // namespace ombriel
