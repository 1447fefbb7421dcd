#pragma once
// Neither half of an operation may end without telling the user: a failure
// of the program itself (no memory, no thread for the checksum) ends it with
// a message, never with success.
#include "core/operation_ui.h"
#include "core/string_ids.h"

#include <exception>
#include <new>

namespace zelbrin {

// Runs half() and returns what it returned; on an exception, a result
// holding only the ending that reports it.
template <class Half> auto Guarded(Half half) -> decltype(half()) {
    try {
        return half();
    } catch (const std::bad_alloc&) {
        return {MessageEnding(IDS_LOW_ON_MEMORY)};
    } catch (const std::exception&) {
        return {MessageEnding(IDS_API_FAILURE)};
    }
}

} // namespace zelbrin
