#include "core/split/join_batch.h"

namespace zelbrin {

// Outside Windows the batch is only produced for tests; text stays UTF-8.
std::optional<std::string> ToBatchCodePage(const std::string& utf8) {
    return utf8;
}

} // namespace zelbrin
