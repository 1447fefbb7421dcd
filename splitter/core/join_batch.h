#pragma once
// JOIN.BAT: rebuilds the source from its pieces with cmd's COPY /B when run
// in the folder that holds them.
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

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
std::string JoinBatchText(const std::string& sourceName, uint64_t pieces,
                          const BatchEncoder& encode = ToBatchCodePage);

// Writes <target>\JOIN.BAT; false when it could not be written whole.
bool WriteJoinBatch(const std::filesystem::path& target, const std::string& sourceName,
                    uint64_t pieces);
