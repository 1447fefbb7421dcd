#pragma once
// JOIN.BAT: rebuilds the source from its pieces with cmd's COPY /B when run
// in the folder that holds them.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace zelbrin {

// The four line groups of the batch, string-table texts 10 to 13; "%s"
// marks where a name goes: written first, for piece 1, for each later
// piece, and last.
struct BatchTemplates {
    std::string header;
    std::string firstCopy;
    std::string nextCopy;
    std::string footer;
};

// Converts UTF-8 text to the bytes cmd reads back as the same text; nullopt
// when the text has characters that code page cannot hold.
using BatchEncoder = std::function<std::optional<std::string>(const std::string&)>;

// The code page cmd reads batch files in on this system (the OEM code page
// on Windows; UTF-8 elsewhere).
std::optional<std::string> ToBatchCodePage(const std::string& utf8);

// A name as it must appear where cmd reads it unquoted (ECHO): '%' doubled,
// and ^ & | < > escaped with '^'.
std::string EscapeForCmdText(const std::string& text);
// A name inside double quotes: only '%' needs doubling there.
std::string EscapeForCmdQuotes(const std::string& text);

// The whole batch text for a source file name and the number of pieces.
// Names cmd's code page cannot hold are written as UTF-8 after a switch of
// the console to code page 65001.
std::string JoinBatchText(const BatchTemplates& templates, const std::string& sourceName,
                          uint64_t pieces, const BatchEncoder& encode = ToBatchCodePage);

// target / "JOIN.BAT".
std::filesystem::path BatchPath(const std::filesystem::path& target);
// Writes the batch into the target folder. Returns 0, or the system's error
// code when it could not be written whole.
int WriteJoinBatch(const BatchTemplates& templates, const std::filesystem::path& target,
                   const std::string& sourceName, uint64_t pieces);

} // namespace zelbrin
