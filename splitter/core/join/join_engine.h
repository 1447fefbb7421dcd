#pragma once
// Rebuilds a file from the numbered pieces of a split: counts the set from
// its first piece, asks before writing, concatenates the pieces in number
// order into the target folder and checks the result against the set's
// checksum file. The dialog's half counts and asks; the work's half writes,
// verifies and returns how it ended.
#include "core/operation_ui.h"

#include <cstddef>

namespace zelbrin {

// Bytes moved per read and write.
inline constexpr size_t kJoinCopyBlock = 204800;

// The dialog's half: checks the inputs, counts the set and asks `confirm`.
Prepared PrepareJoin(const OperationInputs& in, const Confirmation& confirm);

// The join operation, both halves on the calling thread, from reading the
// dialog to its final message.
WorkResult JoinFiles(OperationUi& ui);

} // namespace zelbrin
