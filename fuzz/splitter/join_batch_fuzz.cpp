// JOIN.BAT for any name a source file can have: its lines are exactly the
// template's, and read the way cmd reads them (%% for %, ^ escapes outside
// quotes) they hold the name unchanged, with no %, &, |, < or > that cmd
// would take as its own. Both the code-page and the UTF-8 form are checked.
#include "../../splitter/tests/test_batch_templates.h"
#include "../fuzz_check.h"
#include "core/split/join_batch.h"
#include "windows_name.h"

#include <vector>

using namespace zelbrin;

namespace {
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < text.size()) {
        const size_t end = text.find("\r\n", from);
        FUZZ_CHECK(end != std::string::npos); // every line ends in CR LF
        lines.push_back(text.substr(from, end - from));
        from = end + 2;
    }
    return lines;
}

// The line as cmd executes it; stops the run on a character cmd would read
// as an operator or as the start of a variable.
std::string AsCmdReadsIt(const std::string& line) {
    std::string out;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        FUZZ_CHECK(c != '\r' && c != '\n');
        if (c == '%') {
            FUZZ_CHECK(i + 1 < line.size() && line[i + 1] == '%');
            out += '%';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
            out += c;
        } else if (!quoted && c == '^') {
            FUZZ_CHECK(i + 1 < line.size());
            out += line[++i];
        } else {
            FUZZ_CHECK(quoted || std::string_view("&|<>").find(c) == std::string_view::npos);
            out += c;
        }
    }
    FUZZ_CHECK(!quoted);
    return out;
}

// A narrow code page that holds ASCII only, so that any other character takes
// the UTF-8 form.
std::optional<std::string> AsciiOnly(const std::string& text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return std::nullopt;
    return text;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2)
        return 0;
    const uint64_t pieces = 1 + data[0] % 12;
    const bool asciiPage = data[0] >= 128;
    const std::string name(reinterpret_cast<const char*>(data + 1), size - 1);
    if (!IsWindowsFileName(name))
        return 0;
    const BatchEncoder encode = asciiPage ? BatchEncoder(AsciiOnly) : BatchEncoder(ToBatchCodePage);

    std::string stem = name;
    if (const size_t dot = stem.rfind('.'); dot != std::string::npos)
        stem[dot] = '_';
    const auto encodedName = encode(name);
    const auto encodedStem = encode(stem);
    const bool utf8 = !encodedName || !encodedStem;
    const std::string shown = utf8 ? name : *encodedName;
    const std::string shownStem = utf8 ? stem : *encodedStem;

    const std::vector<std::string> lines =
        Lines(JoinBatchText(zelbrin::testing::TestBatchTemplates(), name, pieces, encode));
    std::vector<std::string> expected = {"ECHO OFF"};
    if (utf8)
        expected.push_back("CHCP 65001 >NUL");
    expected.push_back("REM Zelbrin genarated batch file");
    expected.push_back("ECHO Now " + shown + " will be recreated");
    expected.push_back("PAUSE");
    for (uint64_t k = 1; k <= pieces; ++k)
        expected.push_back((k == 1 ? "COPY /B \"" : "COPY /B zelbrn.tmp+\"") + shownStem + "." +
                           std::to_string(k) + "\" zelbrn.tmp");
    expected.push_back("REN zelbrn.tmp \"" + shown + "\"");
    expected.push_back("ECHO Finished creating " + shown);

    FUZZ_CHECK(lines.size() == expected.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        if (expected[i] == "CHCP 65001 >NUL") // the one redirection the batch means
            FUZZ_CHECK(lines[i] == expected[i]);
        else
            FUZZ_CHECK(AsCmdReadsIt(lines[i]) == expected[i]);
    }
    return 0;
}
