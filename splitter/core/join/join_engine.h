#pragma once
// Rebuilds a file from the numbered pieces of a split: counts the set from
// its first piece, asks before writing, concatenates the pieces in number
// order into the target folder and checks the result against the set's
// checksum file. Every outcome reaches the user through the OperationUi.
#include "core/operation_ui.h"

#include <cstddef>

namespace zelbrin {

// Bytes moved per read and write.
inline constexpr size_t kJoinCopyBlock = 204800;

void JoinFiles(OperationUi& ui);

} // namespace zelbrin
