#pragma once
// The harnesses of one program, as the replay test finds them by name.
#include <cstddef>
#include <cstdint>

struct FuzzHarness {
    const char* name;
    int (*run)(const uint8_t* data, size_t size);
};

extern const FuzzHarness kFuzzHarnesses[];
extern const size_t kFuzzHarnessCount;
