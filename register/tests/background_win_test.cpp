// The background picture at any DPI: drawn in logical units, it covers at
// 120, 144 and 192 DPI what it covers at 96, in proportion.
#include "background_win.h"

#include "../e2e/background_fixture.h"
#include "support/testing/files.h"
#include "support/testing/temp_folder.h"

#include <gtest/gtest.h>

#include <objbase.h>

using namespace ombriel;

namespace {

// Draws the picture on white into a 400 x 400 bitmap and returns the
// extent of its colour, rgb(200, 40, 160): the covered width and height.
SIZE CoveredAt(const BackgroundPicture& picture, int dpi) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 400;
    bi.bmiHeader.biHeight = -400;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT all{0, 0, 400, 400};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    picture.Draw(dc, dpi);
    GdiFlush();
    const auto* px = static_cast<const uint32_t*>(bits);
    auto isPicture = [&](int x, int y) {
        const uint32_t c = px[y * 400 + x];
        const int r = int(c >> 16 & 0xFF), g = int(c >> 8 & 0xFF), b = int(c & 0xFF);
        return std::abs(r - 200) < 30 && std::abs(g - 40) < 30 && std::abs(b - 160) < 30;
    };
    SIZE covered{0, 0};
    while (covered.cx < 400 && isPicture(int(covered.cx), 10))
        ++covered.cx;
    while (covered.cy < 400 && isPicture(10, int(covered.cy)))
        ++covered.cy;
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return covered;
}

} // namespace

TEST(BackgroundPicture, CoversThePartOfTheWindowItCoversAt96DpiAtAnyDpi) {
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    {
        support::testing::TempFolder folder("ombriel-background");
        const auto file = folder / L"Sfondo.jpg";
        support::testing::WriteBytes(
            file,
            std::string(reinterpret_cast<const char*>(kBackgroundJpeg), sizeof kBackgroundJpeg));
        BackgroundPicture picture;
        ASSERT_TRUE(picture.Load(file));
        // The picture is 64 x 64: a window at 150% is 1.5 times as large,
        // and so is what the picture covers.
        for (const auto& [dpi, side] : {std::pair{96, 64}, {120, 80}, {144, 96}, {192, 128}}) {
            const SIZE covered = CoveredAt(picture, dpi);
            EXPECT_NEAR(covered.cx, side, 1) << dpi << " DPI";
            EXPECT_NEAR(covered.cy, side, 1) << dpi << " DPI";
        }
    }
    CoUninitialize();
}
