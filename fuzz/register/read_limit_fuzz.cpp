// Record and settings files of exactly the reader's limit and one byte past
// it: the input is the start of the file, padded with its own last byte. Each
// input passes over a quarter or a whole mebibyte several times, so this
// harness runs far fewer inputs than the parsers do.
#include "file_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // [kind and edge][start of the file...]
    if (size == 0)
        return 0;
    const bool settings = data[0] & 1;
    const bool pastTheLimit = data[0] & 2;
    const size_t limit = settings ? ombriel::kSettingsReadLimit : ombriel::kRecordReadLimit;
    std::string file(reinterpret_cast<const char*>(data + 1), size - 1);
    const char pad = file.empty() ? ' ' : file.back();
    file.resize(pastTheLimit ? limit + 1 : limit, pad);
    if (settings)
        CheckSettingsFile(file);
    else
        CheckRecordFile(file);
    return 0;
}
