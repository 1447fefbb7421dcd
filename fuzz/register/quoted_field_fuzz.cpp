// The quoted-field reader on any text: it never reads past its input, returns
// no more fields than asked, reads the same leading fields however many are
// asked for, and decodes any stored bytes to well-formed UTF-8.
#include "../fuzz_check.h"
#include "core/records/quoted_field.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    const size_t maxFields = data[0] % 5;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const auto fields = ombriel::ReadFields(text, maxFields);
    FUZZ_CHECK(fields.size() <= maxFields);
    size_t total = 0;
    for (const auto& f : fields)
        total += f.size();
    FUZZ_CHECK(total <= text.size());

    const auto more = ombriel::ReadFields(text, maxFields + 1);
    FUZZ_CHECK(more.size() >= fields.size());
    for (size_t i = 0; i < fields.size(); ++i)
        FUZZ_CHECK(more[i] == fields[i]);

    for (const auto& f : ombriel::DecodeFieldFile(text, maxFields))
        FUZZ_CHECK(IsWellFormedUtf8(f));
    return 0;
}
