#include "core/join/join_confirmation.h"

namespace zelbrin {

std::string FormatJoinConfirmation(uint64_t count, const std::string& outputName,
                                   uint64_t totalBytes) {
    return "Zelbrin has detected " + std::to_string(count) +
           " files which can joined to recreate " + outputName + ".\n " + outputName +
           " which will be recreated will be of size " + std::to_string(totalBytes) +
           ".\n If there is an existing file by that name , it will be Over-Written.\n Do you "
           "wish to continue ?";
}

} // namespace zelbrin
