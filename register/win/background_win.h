#pragma once
// The optional window background picture, decoded with WIC.
#include <windows.h>

#include <filesystem>

class BackgroundPicture {
public:
    BackgroundPicture() = default;
    BackgroundPicture(const BackgroundPicture&) = delete;
    BackgroundPicture& operator=(const BackgroundPicture&) = delete;
    ~BackgroundPicture() { Clear(); }

    // Loads a picture file; false (and no picture) when it is missing or not
    // a readable picture.
    bool Load(const std::filesystem::path& file);
    // Draws the picture at its own size from the top-left corner.
    void Draw(HDC dc) const;
    bool Loaded() const { return bitmap_ != nullptr; }

private:
    void Clear();
    HBITMAP bitmap_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};
