#include "support/failure.h"

#include "support/system_error.h"
#include "support/text.h"

namespace support {

std::string FailureText(const Failure& failure) {
    std::string text = failure.what;
    if (!failure.file.empty()) {
        text.append("\n\n");
        text.append(Utf8FromPath(failure.file));
    }
    if (failure.systemCode != 0) {
        text.push_back('\n');
        text.append(SystemErrorText(failure.systemCode));
    }
    return text;
}

} // namespace support
