#pragma once
// The optional window background picture, decoded with WIC.
#include "support/handles_win.h"

#include <windows.h>

#include <filesystem>

namespace ombriel {

class BackgroundPicture {
  public:
    BackgroundPicture() = default;
    BackgroundPicture(const BackgroundPicture&) = delete;
    BackgroundPicture& operator=(const BackgroundPicture&) = delete;

    // Loads a picture file; false (and no picture) when it is missing or not
    // a readable picture.
    bool Load(const std::filesystem::path& file);
    // Draws the picture from the top-left corner at its own size in logical
    // units: a pixel of the picture is one at 96 DPI, and the picture grows
    // with the window at any other DPI.
    void Draw(HDC dc, int dpi) const;
    bool Loaded() const { return bitmap_.Valid(); }

  private:
    void Clear();
    support::UniqueBitmap bitmap_;
    int width_ = 0;
    int height_ = 0;
};

} // namespace ombriel
