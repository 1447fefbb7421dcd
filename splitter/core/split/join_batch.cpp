#include "core/split/join_batch.h"

#include "core/files/file_io.h"
#include "core/naming/piece_names.h"

namespace zelbrin {
namespace {

constexpr const char* kUtf8Console = "CHCP 65001 >NUL\r\n";

// Replaces each "%s" of a template by the next argument.
std::string Format(const std::string& pattern, std::initializer_list<std::string> args) {
    std::string out;
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's' &&
            next != args.end()) {
            out += *next++;
            ++i;
        } else {
            out += pattern[i];
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

std::string EscapeForCmdText(const std::string& text) {
    return Escape(text, false);
}
std::string EscapeForCmdQuotes(const std::string& text) {
    return Escape(text, true);
}

std::string JoinBatchText(const BatchTemplates& templates, const std::string& sourceName,
                          uint64_t pieces, const BatchEncoder& encode) {
    const std::string stem = ReplaceLastDot(sourceName);
    std::optional<std::string> name = encode(sourceName);
    std::optional<std::string> encodedStem = encode(stem);
    const bool utf8 = !name || !encodedStem;
    if (utf8) {
        name = sourceName;
        encodedStem = stem;
    }
    const std::string header = Format(templates.header, {EscapeForCmdText(*name)});
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
        text += Format(k == 1 ? templates.firstCopy : templates.nextCopy,
                       {quotedStem, std::to_string(k)});
    text += Format(templates.footer, {EscapeForCmdQuotes(*name), EscapeForCmdText(*name)});
    return text;
}

std::filesystem::path BatchPath(const std::filesystem::path& target) {
    return target / "JOIN.BAT";
}

int WriteJoinBatch(const BatchTemplates& templates, const std::filesystem::path& target,
                   const std::string& sourceName, uint64_t pieces) {
    const std::string text = JoinBatchText(templates, sourceName, pieces);
    File batch;
    if (!batch.Open(BatchPath(target), FileAccess::ReadWrite, FileShare::ReadWrite,
                    FileDisposition::CreateAlways))
        return batch.LastError();
    if (!batch.Write(text.data(), text.size()) || !batch.Close())
        return batch.LastError();
    return 0;
}

} // namespace zelbrin
