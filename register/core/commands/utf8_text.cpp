#include "core/commands/utf8_text.h"

namespace ombriel {

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Byte offset where the last count characters of text begin.
size_t StartOfLast(std::string_view text, size_t count) {
    size_t pos = text.size();
    while (count > 0 && pos > 0) {
        --pos;
        while (pos > 0 && IsContinuation(static_cast<unsigned char>(text[pos])))
            --pos;
        --count;
    }
    return pos;
}

} // namespace

size_t Utf8Length(std::string_view text) {
    size_t n = 0;
    for (char c : text)
        n += IsContinuation(static_cast<unsigned char>(c)) ? 0 : 1;
    return n;
}

std::string Utf8DropLast(std::string_view text, size_t count) {
    return std::string(text.substr(0, StartOfLast(text, count)));
}

std::string Utf8TakeLast(std::string_view text, size_t count) {
    return std::string(text.substr(StartOfLast(text, count)));
}

} // namespace ombriel
