#pragma once
// The lines of JOIN.BAT as the program's string table holds them (texts 10 to
// 13), for tests and fuzz harnesses that build a batch without the program's
// resources. The end-to-end tests check the string table holds these texts.
#include "core/split/join_batch.h"

namespace zelbrin::testing {

inline BatchTemplates TestBatchTemplates() {
    return {"ECHO OFF\r\nREM Zelbrin genarated batch file\r\nECHO Now %s will be recreated\r\n"
            "PAUSE\r\n",
            "COPY /B \"%s.%s\" zelbrn.tmp\r\n", "COPY /B zelbrn.tmp+\"%s.%s\" zelbrn.tmp\r\n",
            "REN zelbrn.tmp \"%s\"\r\nECHO Finished creating %s\r\n"};
}

} // namespace zelbrin::testing
