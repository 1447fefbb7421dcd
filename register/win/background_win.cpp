#include "background_win.h"

#include "support/com_ptr_win.h"

#include <wincodec.h>

namespace ombriel {

using support::ComPtr;

void BackgroundPicture::Clear() {
    bitmap_.Reset();
    width_ = height_ = 0;
}

bool BackgroundPicture::Load(const std::filesystem::path& file) {
    Clear();
    // GetFileAttributesW rather than std::filesystem, whose status queries
    // pull a large part of the C++ runtime into the program.
    const DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return false;
    }
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&factory)))) {
        return false;
    }
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder))) {
        return false;
    }
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(decoder->GetFrame(0, &frame)) ||
        FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom))) {
        return false;
    }
    UINT w = 0;
    UINT h = 0;
    if (FAILED(converter->GetSize(&w, &h)) || w == 0 || h == 0 || w > 16384 || h > 16384) {
        return false;
    }
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = LONG(w);
    bi.bmiHeader.biHeight = -LONG(h);
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    support::UniqueBitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bmp ||
        FAILED(converter->CopyPixels(nullptr, w * 4, w * h * 4, static_cast<BYTE*>(bits)))) {
        return false;
    }
    bitmap_ = std::move(bmp);
    width_ = int(w);
    height_ = int(h);
    return true;
}

void BackgroundPicture::Draw(HDC dc, int dpi) const {
    if (!bitmap_) {
        return;
    }
    const support::UniqueMemoryDc mem(CreateCompatibleDC(dc));
    if (!mem) {
        return;
    }
    const support::SelectedObject picture(mem.Get(), bitmap_.Get());
    const int w = MulDiv(width_, dpi, 96);
    const int h = MulDiv(height_, dpi, 96);
    if (w == width_ && h == height_) {
        BitBlt(dc, 0, 0, width_, height_, mem.Get(), 0, 0, SRCCOPY);
    } else {
        const int oldMode = SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, 0, 0, w, h, mem.Get(), 0, 0, width_, height_, SRCCOPY);
        SetStretchBltMode(dc, oldMode);
    }
}

} // namespace ombriel
