// Windows only: the extended path form, the 8-bit code pages and the
// system's error texts.
#include "support/code_page_win.h"
#include "support/long_path_win.h"
#include "support/system_error.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(LongPath, FoldersBeyond260CharactersAreReachedThroughTheExtendedForm) {
    support::testing::TempFolder dir;
    std::filesystem::path deep = dir.Path();
    for (int i = 0; i < 5; ++i)
        deep /= std::wstring(60, static_cast<wchar_t>(L'a' + i)) + L"\u00e9";
    support::testing::WriteBytes(deep / L"città.txt", "whole");
    ASSERT_GT((deep / L"città.txt").native().size(), 300u);
    EXPECT_EQ(support::testing::ReadBytes(deep / L"città.txt"), "whole");
    const std::wstring extended = support::ExtendedPath(deep / L"città.txt");
    EXPECT_EQ(extended.rfind(L"\\\\?\\", 0), 0u);
    EXPECT_NE(GetFileAttributesW(extended.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(support::ExtendedPath(L"\\\\server\\share\\x"), L"\\\\?\\UNC\\server\\share\\x");
    EXPECT_EQ(support::ExtendedPath(extended), extended) << "already extended";
}

TEST(CodePage, TextTheCodePageCannotHoldIsRefusedNotApproximated) {
    ASSERT_EQ(GetACP(), 1252u);
    EXPECT_EQ(support::ToCodePage(support::CodePage::Ansi, L"perché"), "perch\xE9");
    EXPECT_EQ(support::ToCodePage(support::CodePage::Ansi, L"łódź"), std::nullopt);
    EXPECT_EQ(support::ToCodePage(support::CodePage::Ansi, L"\u0100"), std::nullopt)
        << "no best-fit 'A' for A-macron";
    EXPECT_EQ(support::ToCodePage(support::CodePage::Oem, L""), "");
}

TEST(SystemError, TextsAreTheSystemsOwnAndNeverEmpty) {
    const std::string text = support::SystemErrorText(ERROR_FILE_NOT_FOUND);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(text.find_first_not_of(" "), std::string::npos);
    EXPECT_NE(text.back(), '\n') << "the line end FormatMessage adds is taken off";
    EXPECT_EQ(support::SystemErrorText(0x20001234u), "(536875572)");
}

} // namespace
