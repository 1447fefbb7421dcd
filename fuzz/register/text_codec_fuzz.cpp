// Decoding any stored bytes: the result is always well-formed UTF-8, every
// Windows-1252 byte converts and converts back, sanitising changes nothing in
// well-formed text and nothing a second time, and a text stored with
// EncodeFileText decodes to itself (sanitised).
#include "../fuzz_check.h"
#include "core/records/text_codec.h"

using namespace ombriel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    FUZZ_CHECK(IsWellFormedUtf8(DecodeFileText(bytes)));

    const std::string wide = Utf8FromCp1252(bytes);
    FUZZ_CHECK(IsWellFormedUtf8(wide));
    const auto narrow = Cp1252FromUtf8(wide);
    FUZZ_CHECK(narrow && *narrow == bytes);

    const std::string clean = SanitizeUtf8(bytes);
    FUZZ_CHECK(IsWellFormedUtf8(clean));
    FUZZ_CHECK(SanitizeUtf8(clean) == clean);
    if (IsWellFormedUtf8(bytes))
        FUZZ_CHECK(clean == bytes);

    // A text starting with "ï»¿" is stored in Windows-1252 as the bytes of the
    // byte-order mark; a field file never starts so (its first byte is a
    // quote), and field_round_trip checks those whole.
    if (clean.rfind("\xC3\xAF\xC2\xBB\xC2\xBF", 0) != 0)
        FUZZ_CHECK(DecodeFileText(EncodeFileText(bytes)) == clean);
    return 0;
}
