#include "core/grid/doc_reachability.h"

namespace ombriel {

bool IsNotFound(const Error& failure) {
    return failure.number == kErrFileNotFound || failure.number == kErrPathNotFound;
}

void DocReachability::Listed(bool docExisted) {
    told_ = false;
    if (docExisted)
        seen_ = true;
}

bool DocReachability::Failed() {
    if (told_)
        return false;
    told_ = true;
    return true;
}

bool DocReachability::MissingMeansEmpty(const Error& failure) const {
    return IsNotFound(failure) && !seen_;
}

} // namespace ombriel
