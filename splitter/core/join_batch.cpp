#include "core/join_batch.h"

#include "core/file_io.h"
#include "core/split_engine.h"

namespace {
// The four line groups of the batch (string-table entries 10 to 13); "%s"
// marks where a name goes.
constexpr const char* kHeader =
    "ECHO OFF\r\nREM Zelbrin genarated batch file\r\nECHO Now %s will be recreated\r\nPAUSE\r\n";
constexpr const char* kFirstCopy = "COPY /B \"%s.%s\" zelbrn.tmp\r\n";
constexpr const char* kNextCopy = "COPY /B zelbrn.tmp+\"%s.%s\" zelbrn.tmp\r\n";
constexpr const char* kRename = "REN zelbrn.tmp \"%s\"\r\nECHO Finished creating %s\r\n";
constexpr const char* kUtf8Console = "CHCP 65001 >NUL\r\n";

// Replaces each "%s" of a template by the next argument.
std::string Format(const char* pattern, std::initializer_list<std::string> args) {
    std::string out;
    auto next = args.begin();
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && p[1] == 's' && next != args.end()) {
            out += *next++;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

std::string Escape(const std::string& text, bool quoted) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '%')
            out += '%';
        else if (!quoted && (c == '^' || c == '&' || c == '|' || c == '<' || c == '>'))
            out += '^';
        out += c;
    }
    return out;
}
} // namespace

std::string EscapeForCmdText(const std::string& text) { return Escape(text, false); }
std::string EscapeForCmdQuotes(const std::string& text) { return Escape(text, true); }

std::string JoinBatchText(const std::string& sourceName, uint64_t pieces,
                          const BatchEncoder& encode) {
    const std::string stem = ReplaceLastDot(sourceName);
    std::optional<std::string> name = encode(sourceName);
    std::optional<std::string> encodedStem = encode(stem);
    const bool utf8 = !name || !encodedStem;
    if (utf8) {
        name = sourceName;
        encodedStem = stem;
    }
    const std::string header = Format(kHeader, {EscapeForCmdText(*name)});
    std::string text;
    if (utf8) {
        // After ECHO OFF, so the switch itself is not echoed.
        const size_t firstLine = header.find("\r\n") + 2;
        text.append(header, 0, firstLine);
        text.append(kUtf8Console);
        text.append(header, firstLine, std::string::npos);
    } else {
        text = header;
    }
    const std::string quotedStem = EscapeForCmdQuotes(*encodedStem);
    for (uint64_t k = 1; k <= pieces; ++k)
        text += Format(k == 1 ? kFirstCopy : kNextCopy, {quotedStem, std::to_string(k)});
    text += Format(kRename, {EscapeForCmdQuotes(*name), EscapeForCmdText(*name)});
    return text;
}

bool WriteJoinBatch(const std::filesystem::path& target, const std::string& sourceName,
                    uint64_t pieces) {
    const std::string text = JoinBatchText(sourceName, pieces);
    File batch;
    if (!batch.Open(target / "JOIN.BAT", FileAccess::ReadWrite, FileShare::ReadWrite,
                    FileDisposition::CreateAlways))
        return false;
    const bool written = batch.Write(text.data(), text.size());
    return batch.Close() && written;
}
