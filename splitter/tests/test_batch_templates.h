#pragma once
// The lines of JOIN.BAT as the program's string table holds them (texts 10 to
// 13), for tests and fuzz harnesses that build a batch without the program's
// resources. The end-to-end tests check the string table holds these texts.
#include "core/split/join_batch.h"
#include "core/string_ids.h"

#include <optional>
#include <string>

namespace zelbrin::testing {

inline BatchTemplates TestBatchTemplates() {
    return {"ECHO OFF\r\nREM Zelbrin genarated batch file\r\nECHO Now %s will be recreated\r\n"
            "PAUSE\r\n",
            "COPY /B \"%s.%s\" zelbrn.tmp\r\n", "COPY /B zelbrn.tmp+\"%s.%s\" zelbrn.tmp\r\n",
            "REN zelbrn.tmp \"%s\"\r\nECHO Finished creating %s\r\n"};
}

// The string-table text of stringId among those four; none for any other.
inline std::optional<std::string> TestBatchText(int stringId) {
    const BatchTemplates t = TestBatchTemplates();
    switch (stringId) {
    case IDS_BATCH_HEADER:
        return t.header;
    case IDS_BATCH_FIRST:
        return t.firstCopy;
    case IDS_BATCH_NEXT:
        return t.nextCopy;
    case IDS_BATCH_FOOTER:
        return t.footer;
    default:
        return std::nullopt;
    }
}

} // namespace zelbrin::testing
