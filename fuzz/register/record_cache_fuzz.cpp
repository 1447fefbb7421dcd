// The cache reader on any bytes: it accepts only a whole cache, and what it
// accepts is exactly what the writer makes of the records it read back.
#include "core/records/record_cache.h"

#include "../fuzz_check.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ombriel::RecordCache cache;
    if (!ombriel::DecodeRecordCache(bytes, cache)) {
        FUZZ_CHECK(cache.records.empty() && cache.registerPath.empty());
        return 0;
    }
    FUZZ_CHECK(IsWellFormedUtf8(cache.registerPath));
    for (const ombriel::StoredRecord& r : cache.records) {
        FUZZ_CHECK(r.settled);
        FUZZ_CHECK(IsWellFormedUtf8(r.fileName) && IsWellFormedUtf8(r.fields.target) &&
                   IsWellFormedUtf8(r.fields.description));
    }
    FUZZ_CHECK(ombriel::EncodeRecordCache(cache, cache.records) == bytes);
    return 0;
}
