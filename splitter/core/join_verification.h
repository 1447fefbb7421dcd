#pragma once
// Checking a joined file against the checksum its set was split with.
#include <cstdint>
#include <functional>
#include <optional>

// What the set's checksum file was found to hold.
struct StoredChecksum {
    enum class Kind {
        Absent, // no checksum file (or one that cannot be opened)
        Short,  // a file too short to hold a checksum: damaged, so not trusted
        Value,  // four bytes were read
    };
    Kind kind = Kind::Absent;
    uint32_t value = 0;
};

enum class VerifyOutcome {
    NoChecksum, // nothing to compare with: absent, or a stored 0
    Match,
    Mismatch, // also a damaged checksum file, or an output that cannot be read back
};

// checksumOfOutput is called only when there is a value to compare; it
// returns nothing when the joined file cannot be read back.
VerifyOutcome VerifyJoin(const StoredChecksum& stored,
                         const std::function<std::optional<uint32_t>()>& checksumOfOutput);

// The message a finished join ends with: 24 on success, 23 on a checksum error.
int FinalJoinMessage(VerifyOutcome outcome);
