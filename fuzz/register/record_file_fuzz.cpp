// The record reader on any file, and the writer on whatever it read (see
// file_checks.h). Files at the size limit: read_limit_fuzz.cpp.
#include "file_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CheckRecordFile(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
