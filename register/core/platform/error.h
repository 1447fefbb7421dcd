#pragma once
// A failure as the user sees it: a number and a description. The register
// numbers every failure with the Windows system error codes, so the texts the
// user reads are the system's own; conditions that are not system failures
// borrow the code whose meaning fits them.
#include <cstdint>
#include <string>

namespace ombriel {

enum ErrorNumber : uint32_t {
    kErrNone = 0,
    kErrFileNotFound = 2,      // ERROR_FILE_NOT_FOUND
    kErrPathNotFound = 3,      // ERROR_PATH_NOT_FOUND
    kErrAccessDenied = 5,      // ERROR_ACCESS_DENIED
    kErrNotEnoughMemory = 8,   // ERROR_NOT_ENOUGH_MEMORY
    kErrInvalidData = 13,      // ERROR_INVALID_DATA
    kErrNotSameDevice = 17,    // ERROR_NOT_SAME_DEVICE
    kErrSharingViolation = 32, // ERROR_SHARING_VIOLATION
    kErrEndOfFile = 38,        // ERROR_HANDLE_EOF: a file ends before a field it must hold
    kErrDiskFull = 112,        // ERROR_DISK_FULL
    kErrAlreadyExists = 183,   // ERROR_ALREADY_EXISTS
    kErrFileTooLarge = 223,    // ERROR_FILE_TOO_LARGE: more than a reader takes whole
};

struct Error {
    uint32_t number = kErrNone;
    std::string description; // UTF-8

    bool Failed() const { return number != kErrNone; }
    explicit operator bool() const { return Failed(); }
};

} // namespace ombriel
