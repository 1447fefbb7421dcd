#include "core/join_verification.h"

#include "core/join_message_ids.h"

VerifyOutcome VerifyJoin(const StoredChecksum& stored,
                         const std::function<std::optional<uint32_t>()>& checksumOfOutput) {
    switch (stored.kind) {
    case StoredChecksum::Kind::Absent:
        return VerifyOutcome::NoChecksum;
    case StoredChecksum::Kind::Short:
        return VerifyOutcome::Mismatch;
    case StoredChecksum::Kind::Value:
        break;
    }
    if (stored.value == 0)
        return VerifyOutcome::NoChecksum;
    const auto actual = checksumOfOutput();
    return actual && *actual == stored.value ? VerifyOutcome::Match : VerifyOutcome::Mismatch;
}

int FinalJoinMessage(VerifyOutcome outcome) {
    return outcome == VerifyOutcome::Mismatch ? IDS_JOIN_CRC_ERROR : IDS_JOIN_FINISHED;
}
