// The record key and the default description of any name: the key is what
// follows the last backslash and names its record file both ways; the default
// description is the name less its last four characters (or less its
// extension when shorter), cut only between characters.
#include "../fuzz_check.h"
#include "core/commands/default_description.h"
#include "core/commands/entry_key.h"
#include "core/commands/utf8_text.h"
#include "core/records/record_file.h"

using namespace ombriel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string name(reinterpret_cast<const char*>(data), size);

    const EntryKey key = EntryKeyOf(name);
    const size_t slash = name.rfind('\\');
    FUZZ_CHECK(key.isLink == (slash != std::string::npos));
    FUZZ_CHECK(key.key == (key.isLink ? name.substr(slash + 1) : name));
    FUZZ_CHECK(RecordKeyOf(RecordFileName(key.key)) == key.key);

    const std::string description = DefaultDescription(name);
    FUZZ_CHECK(name.compare(0, description.size(), description) == 0);
    const size_t length = Utf8Length(name);
    if (length >= 4) {
        FUZZ_CHECK(Utf8Length(description) == length - 4);
        if (IsWellFormedUtf8(name))
            FUZZ_CHECK(IsWellFormedUtf8(description));
    } else {
        const size_t dot = name.rfind('.');
        FUZZ_CHECK(description ==
                   (dot == std::string::npos || dot == 0 ? name : name.substr(0, dot)));
    }
    return 0;
}
