// The listing's names as a refresh finds them: a record by its exact name,
// a document as the Windows file system would find it, whatever its case.
#include "core/records/name_table.h"

#include <gtest/gtest.h>

#include <string>

namespace ombriel {
namespace {

FolderListing Listing(std::initializer_list<const char*> names) {
    FolderListing listing;
    for (const char* n : names)
        listing.Add(n, 0, 0);
    return listing;
}

TEST(NameTable, FoldedNamesMatchWhateverTheCaseOfAsciiAndLatin1Letters) {
    const auto listing = Listing(
        {"Relazione.PDF", "\xC3\x89t\xC3\xA9.doc", "\xC3\x97.txt", "\xC3\xB7.txt", "a_b.xls"});
    const NameTable folded(listing, NameTable::Match::Folded);
    EXPECT_EQ(folded.Find("relazione.pdf"), 0u);
    EXPECT_EQ(folded.Find("\xC3\xA9T\xC3\x89.DOC"), 1u) << "É and é are one letter";
    EXPECT_EQ(folded.Find("\xC3\x97.txt"), 2u);
    EXPECT_EQ(folded.Find("\xC3\xB7.TXT"), 3u) << "× and ÷ are not a pair of cases";
    EXPECT_EQ(folded.Find("A_B.XLS"), 4u);
    EXPECT_EQ(folded.Find("a-b.xls"), NameTable::npos);
    EXPECT_EQ(folded.Find("relazione.pd"), NameTable::npos);
    EXPECT_EQ(folded.Find(""), NameTable::npos);
    EXPECT_TRUE(SameNameFolded("\xC3\x80Z", "\xC3\xA0z"));
    EXPECT_FALSE(SameNameFolded("\xC3\x80", "\xC2\x80")) << "only after C3 is a byte a letter";
}

TEST(NameTable, ExactNamesKeepTheirCaseAndOnlyTheAdmittedAreEntered) {
    const auto listing = Listing({"a.pdf.dat", "A.PDF.dat", "a.pdf", "b.doc.dat", "a.pdf.dat"});
    const NameTable exact(listing, NameTable::Match::Exact,
                          [](std::string_view name) { return name.ends_with(".dat"); });
    EXPECT_EQ(exact.Count(), 3u) << "a name listed twice is entered once";
    EXPECT_EQ(exact.Find("a.pdf.dat"), 0u) << "the first of the same names";
    EXPECT_EQ(exact.Find("A.PDF.dat"), 1u);
    EXPECT_EQ(exact.Find("a.pdf"), NameTable::npos) << "not admitted";
    EXPECT_EQ(exact.Find("B.DOC.dat"), NameTable::npos);
    EXPECT_EQ(exact.NotEntered(), (std::vector<char>{0, 0, 1, 0, 1}))
        << "the name not admitted, and the later of two same names";
    EXPECT_EQ(NameTable().Find("a.pdf.dat"), NameTable::npos) << "an empty table";
}

TEST(NameTable, EveryNameOfALargeListingIsFoundAndNoOther) {
    FolderListing listing;
    for (int i = 0; i < 100000; ++i)
        listing.Add("Doc" + std::to_string(i) + ".pdf", 0, uint64_t(i));
    ASSERT_EQ(listing.size(), 100000u);
    EXPECT_EQ(listing[99999].name, "Doc99999.pdf") << "names stay where they are as more come";
    EXPECT_EQ(listing[0].name, "Doc0.pdf");
    const NameTable folded(listing, NameTable::Match::Folded);
    for (int i = 0; i < 100000; ++i)
        ASSERT_EQ(folded.Find("doc" + std::to_string(i) + ".PDF"), size_t(i));
    for (int i = 100000; i < 101000; ++i)
        ASSERT_EQ(folded.Find("doc" + std::to_string(i) + ".pdf"), NameTable::npos);
}

} // namespace
} // namespace ombriel
