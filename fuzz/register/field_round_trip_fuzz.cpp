// Writing then reading gives back the same fields for any texts: one to three
// fields, cut from the input at a separator byte the input chooses, stored as
// a field file and as a record.
#include "../fuzz_check.h"
#include "core/records/quoted_field.h"
#include "core/records/record_file.h"
#include "core/records/text_codec.h"

#include <vector>

using namespace ombriel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const size_t count = 1 + data[0] % 3;
    const char separator = static_cast<char>(data[1]);
    const std::string_view text(reinterpret_cast<const char*>(data + 2), size - 2);
    std::vector<std::string> fields;
    size_t from = 0;
    while (fields.size() + 1 < count) {
        const size_t cut = text.find(separator, from);
        if (cut == std::string_view::npos)
            break;
        fields.emplace_back(text.substr(from, cut - from));
        from = cut + 1;
    }
    fields.emplace_back(text.substr(from));

    // Text that is not well-formed UTF-8 cannot be kept as it is: it comes
    // back with U+FFFD in place of each malformed sequence.
    const auto back = DecodeFieldFile(EncodeFieldFile(fields), fields.size());
    FUZZ_CHECK(back.size() == fields.size());
    for (size_t i = 0; i < fields.size(); ++i)
        FUZZ_CHECK(back[i] == SanitizeUtf8(fields[i]));

    if (fields.size() == 2) {
        bool complete = false;
        const RecordFields record = ParseRecord(FormatRecord({fields[0], fields[1]}), complete);
        FUZZ_CHECK(complete);
        FUZZ_CHECK(record.target == back[0] && record.description == back[1]);
    }
    return 0;
}
