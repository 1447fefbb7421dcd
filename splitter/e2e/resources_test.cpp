// The resources built into Zelbrin.exe, read back from the file: every text
// of the string table exactly (escapes, quotes, double blanks and typos
// included), the icon sizes and colours, and the version.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "ui_driver.h"

namespace {

class ZelbrinResources : public ::testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExW((ui::ExeDir() / "Zelbrin.exe").c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr);
    }
    void TearDown() override {
        if (module_)
            FreeLibrary(module_);
    }
    std::wstring String(UINT id) const {
        const wchar_t* text = nullptr;
        const int length = LoadStringW(module_, id, reinterpret_cast<LPWSTR>(&text), 0);
        return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
    }
    HMODULE module_ = nullptr;
};

TEST_F(ZelbrinResources, StringTableHoldsEveryTextExactly) {
    struct {
        UINT id;
        const wchar_t* text;
    } const strings[] = {
        {IDS_TIP_KEYWORD, L"Use an entered keyword to split the source file based on that keyword"},
        {IDS_TIP_SIZE,
         L"Use an entered fragment size to split the source into pieces of that size"},
        {IDS_TIP_PIECES,
         L"Specify the no. of pieces that you would like to split the source file into"},
        {IDS_TIP_BATCH,
         L"Generates a batch file JOIN.BAT in the target folder which will re-join the split "
         L"pieces"},
        {IDS_TIP_SPLIT, L"Use this option to Split a file into many pieces"},
        {IDS_TIP_JOIN, L"Use this option to Join the pieces back to re-create the original file"},
        {IDS_TIP_KBS,
         L"Enter the size per piece in Kilobytes ,1 Kilobyte = 1024 bytes, 1024 Kilobytes = 1 "
         L"Megabyte(mb)"},
        {IDS_TIP_BYTES, L"Enter the size per piece in bytes (1024 bytes = 1 Kilobyte)"},
        {IDS_BATCH_HEADER, L"ECHO OFF\r\nREM Zelbrin genarated batch file\r\nECHO Now %s will be "
                           L"recreated\r\nPAUSE\r\n"},
        {IDS_BATCH_FIRST, L"COPY /B \"%s.%s\" zelbrn.tmp\r\n"},
        {IDS_BATCH_NEXT, L"COPY /B zelbrn.tmp+\"%s.%s\" zelbrn.tmp\r\n"},
        {IDS_BATCH_FOOTER, L"REN zelbrn.tmp \"%s\"\r\nECHO Finished creating %s\r\n"},
        {IDS_TIP_MBS, L"Enter the size in MBs (Megabytes)"},
        {IDS_TIP_CRC, L"Creates a CRC check-sum for the file being split , which will be used for "
                      L"consistency checks after re-joining"},
        {IDS_NO_SOURCE_FILE,
         L"You have not selected a Source File !!\nPlease select a Source File by clicking on "
         L"the Source File button."},
        {IDS_ZERO_LENGTH_FILE,
         L"The selected file is of size 0 bytes.\nZero length files cannot be split !!!"},
        {IDS_NO_TARGET_DIRECTORY,
         L"You have not selected a Target Directory !!\nPlease select a Target Directory by "
         L"clicking on the Target Directory button."},
        {IDS_LOW_ON_MEMORY, L"Your system is running low on memory !!\n Cannot proceed further !"},
        {IDS_NOT_FIRST_PIECE,
         L"The Source file you have selected is not the First file in a split file set !!!\n "
         L"Please select a  .1 file as the source file"},
        {IDS_NOT_ENOUGH_FREE_SPACE,
         L"There is not enough free space in the target drive to store the split "
         L"files.\nPlease free up some space on the target drive and then try to join"},
        {IDS_JOINED_CRC_ERROR, L"The Joined file has a CRC error, it may not be consistent !!"},
        {IDS_JOIN_SUCCEEDED, L"Finished Joining Successfully !!!"},
        {IDS_NO_VALUE, L"Please Enter a keyword /size / or no.of pieces !!"},
        {IDS_MAP_VIEW_FAILED, L"Mapping of view failed !!!.\nYou are low on memory"},
        {IDS_ONLY_NUMBERS, L"You can enter only numbers here !"},
        {IDS_SPLIT_SUCCEEDED, L"Finished Splitting Successfully !!!"},
        {IDS_MAPPING_FAILED, L"File mapping creation failed !!!.\nYou are low on memory"},
        {IDS_API_FAILURE, L"API Failure"},
    };
    for (const auto& s : strings)
        EXPECT_EQ(String(s.id), s.text) << "string " << s.id;
    for (UINT unused : {22u, 28u, 29u, 30u, 31u})
        EXPECT_EQ(String(unused), L"") << "string " << unused << " is not used";
}

// The Help box appends 110 characters to the notice in a 300-character buffer.
TEST_F(ZelbrinResources, NoticeFitsTheHelpBox) {
    const std::wstring notice = String(IDS_NOTICE);
    EXPECT_FALSE(notice.empty());
    EXPECT_LE(notice.size(), 190u);
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(ZelbrinResources, IconGroupHasThreeSixteenColourImages) {
    HRSRC group = FindResourceW(module_, MAKEINTRESOURCEW(IDI_ZELBRIN), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module_, group)));
    const WORD count = *reinterpret_cast<const WORD*>(data + 4);
    ASSERT_EQ(count, 3);
    std::vector<int> sizes;
    for (WORD i = 0; i < count; ++i) {
        const auto* e = reinterpret_cast<const GroupIconEntry*>(data + 6 + i * 14);
        sizes.push_back(e->width);
        EXPECT_EQ(e->width, e->height);
        EXPECT_EQ(e->colours, 16);
        EXPECT_EQ(e->bitCount, 4);
    }
    EXPECT_EQ(sizes, (std::vector<int>{48, 32, 16}));
}

TEST_F(ZelbrinResources, VersionIsOneZeroEightBuild020118) {
    HRSRC info = FindResourceW(module_, MAKEINTRESOURCEW(VS_VERSION_INFO), RT_VERSION);
    ASSERT_NE(info, nullptr);
    const DWORD size = SizeofResource(module_, info);
    std::vector<BYTE> copy(size);
    memcpy(copy.data(), LockResource(LoadResource(module_, info)), size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(copy.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 1));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(20118, 8));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(20118, 8));
    EXPECT_EQ(fixed->dwFileFlags & VS_FF_SPECIALBUILD, DWORD(VS_FF_SPECIALBUILD));
    EXPECT_EQ(fixed->dwFileOS, DWORD(VOS_NT_WINDOWS32));
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));

    struct {
        const wchar_t* key;
        const wchar_t* value;
    } const values[] = {
        {L"FileDescription", L"Zelbrin"},
        {L"InternalName", L"Zelbrin"},
        {L"ProductName", L"Zelbrin"},
        {L"OriginalFilename", L"Zelbrin.exe"},
        {L"FileVersion", L"1, 0, 8, 0 (020118)"},
        {L"ProductVersion", L"1, 0, 8, 020118"},
        {L"SpecialBuild", L"010325"},
    };
    for (const auto& v : values) {
        const std::wstring path = std::wstring(L"\\StringFileInfo\\080904b0\\") + v.key;
        wchar_t* text = nullptr;
        ASSERT_TRUE(
            VerQueryValueW(copy.data(), path.c_str(), reinterpret_cast<void**>(&text), &length))
            << "missing " << ui::Narrow(v.key);
        EXPECT_EQ(std::wstring(text), v.value) << ui::Narrow(v.key);
    }
}

} // namespace
