#pragma once
// A block of memory in the process that owns a window. Messages of the common
// controls whose arguments are pointers are not carried across processes:
// the argument is built here, sent with its address there, and read back.
#include <windows.h>

#include <cstddef>
#include <stdexcept>

namespace ui {

class RemoteBlock {
  public:
    RemoteBlock(HWND owner, size_t size) {
        DWORD pid = 0;
        GetWindowThreadProcessId(owner, &pid);
        process_ =
            OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
        if (!process_) {
            throw std::runtime_error("cannot open the window's process");
        }
        address_ =
            VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!address_) {
            CloseHandle(process_);
            throw std::runtime_error("cannot take memory in the window's process");
        }
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    ~RemoteBlock() {
        VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        CloseHandle(process_);
    }
    char* Address() const { return static_cast<char*>(address_); }
    void Write(size_t offset, const void* data, size_t n) const {
        WriteProcessMemory(process_, Address() + offset, data, n, nullptr);
    }
    void Read(size_t offset, void* data, size_t n) const {
        ReadProcessMemory(process_, Address() + offset, data, n, nullptr);
    }

  private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
};

} // namespace ui
