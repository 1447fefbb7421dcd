#include "core/split/join_batch.h"

#include "support/code_page_win.h"
#include "support/text.h"

namespace zelbrin {

// cmd reads a batch file in the console's code page, the OEM code page of
// the system, not the ANSI one.
std::optional<std::string> ToBatchCodePage(const std::string& utf8) {
    return support::ToCodePage(support::CodePage::Oem, support::Widen(utf8));
}

} // namespace zelbrin
