#include "core/records/quoted_field.h"

#include "core/records/text_codec.h"

namespace ombriel {
namespace {

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

// Moves pos past the delimiter that ends a field: a comma, or one line end
// (CR LF, CR or LF).
void SkipDelimiter(std::string_view text, size_t& pos) {
    if (pos >= text.size()) {
        return;
    }
    if (text[pos] == ',') {
        ++pos;
    } else if (text[pos] == '\r') {
        ++pos;
        if (pos < text.size() && text[pos] == '\n') {
            ++pos;
        }
    } else if (text[pos] == '\n') {
        ++pos;
    }
}

size_t FindDelimiter(std::string_view text, size_t pos) {
    while (pos < text.size() && text[pos] != ',' && !IsLineEnd(text[pos])) {
        ++pos;
    }
    return pos;
}

} // namespace

std::vector<std::string> ReadFields(std::string_view text, size_t maxFields) {
    std::vector<std::string> fields;
    size_t pos = 0;
    while (fields.size() < maxFields) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
            ++pos;
        }
        if (pos >= text.size()) {
            break;
        }
        std::string field;
        if (text[pos] == '"') {
            ++pos;
            for (;;) {
                size_t quote = text.find('"', pos);
                if (quote == std::string_view::npos) {
                    field.append(text.substr(pos));
                    pos = text.size();
                    break;
                }
                field.append(text.substr(pos, quote - pos));
                pos = quote + 1;
                if (pos < text.size() && text[pos] == '"') {
                    field += '"';
                    ++pos;
                    continue;
                }
                break;
            }
            pos = FindDelimiter(text, pos);
        } else {
            size_t end = FindDelimiter(text, pos);
            field.assign(text.substr(pos, end - pos));
            while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) {
                field.pop_back();
            }
            pos = end;
        }
        SkipDelimiter(text, pos);
        fields.push_back(std::move(field));
    }
    return fields;
}

std::string FormatField(std::string_view text) {
    std::string line;
    line.reserve(text.size() + 4);
    line += '"';
    for (char c : text) {
        line += c;
        if (c == '"') {
            line += '"';
        }
    }
    line += "\"\r\n";
    return line;
}

std::string EncodeFieldFile(const std::vector<std::string>& fields) {
    std::string text;
    for (const auto& f : fields) {
        text += FormatField(f);
    }
    return EncodeFileText(text);
}

std::vector<std::string> DecodeFieldFile(std::string_view bytes, size_t maxFields) {
    return ReadFields(DecodeFileText(bytes), maxFields);
}

} // namespace ombriel
