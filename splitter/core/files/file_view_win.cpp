#include "core/files/file_view.h"

#include "support/long_path_win.h"

#include <windows.h>

#include <vector>

namespace zelbrin {
namespace {

HANDLE AsHandle(intptr_t h) {
    return reinterpret_cast<HANDLE>(h);
}

// A fixed disk (or a RAM disk) is where a read of a mapped page can be
// counted on; a share or a removable drive can drop while it is read.
bool OnFixedDrive(const std::filesystem::path& path) {
    const std::wstring name = support::ExtendedPath(path);
    std::vector<wchar_t> volume(name.size() + 2);
    if (!GetVolumePathNameW(name.c_str(), volume.data(), static_cast<DWORD>(volume.size())))
        return false;
    const UINT type = GetDriveTypeW(volume.data());
    return type == DRIVE_FIXED || type == DRIVE_RAMDISK;
}

} // namespace

bool FileMapping::Open(File& file, const std::filesystem::path& path) {
    Close();
    if (!OnFixedDrive(path))
        return false;
    // An empty file has nothing to map: the section is refused.
    HANDLE section =
        CreateFileMappingW(AsHandle(file.SystemHandle()), nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!section)
        return false;
    system_ = reinterpret_cast<intptr_t>(section);
    // Measured once the section exists: from then on the system refuses to
    // make the file shorter, so no page of a view can vanish. Bytes added
    // since are beyond the section; its view is refused and the caller
    // reads them.
    const std::optional<uint64_t> size = file.Size();
    if (!size || *size == 0) {
        Close();
        return false;
    }
    size_ = *size;
    return true;
}

const unsigned char* FileMapping::Map(uint64_t offset, size_t length) {
    Unmap();
    void* view = MapViewOfFile(AsHandle(system_), FILE_MAP_READ, static_cast<DWORD>(offset >> 32),
                               static_cast<DWORD>(offset), length);
    if (!view)
        return nullptr;
    view_ = static_cast<const unsigned char*>(view);
    viewLength_ = length;
    return view_;
}

void FileMapping::Unmap() {
    if (view_)
        UnmapViewOfFile(view_);
    view_ = nullptr;
    viewLength_ = 0;
}

void FileMapping::Close() {
    Unmap();
    if (system_ != -1)
        CloseHandle(AsHandle(system_));
    system_ = -1;
    size_ = 0;
}

} // namespace zelbrin
