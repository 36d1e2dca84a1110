#include "session/recipe_text.h"

namespace {

// Echoed text longer than this is cut short in messages.
const size_t SHOWN_BYTES = 40;
// Numbers are read up to this magnitude and saturate beyond; every range a
// recipe allows lies well inside it.
const int64_t NUMBER_LIMIT = 1000000000000;

} // namespace

size_t utf8SequenceLength(const unsigned char* bytes, size_t available)
{
    unsigned char lead = bytes[0];
    if (lead < 0x80)
        return 1;
    size_t length;
    uint32_t code, least;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        code = lead & 0x1F;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        code = lead & 0x0F;
        least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        code = lead & 0x07;
        least = 0x10000;
    } else {
        return 0;
    }
    if (length > available)
        return 0;
    for (size_t i = 1; i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (bytes[i] & 0x3F);
    }
    if (code < least || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0;
    return length;
}

std::string shownText(std::string_view text)
{
    std::string out;
    size_t end = text.size();
    if (end > SHOWN_BYTES) {
        end = SHOWN_BYTES;
        while (end > 0 && ((unsigned char)text[end] & 0xC0) == 0x80)
            --end; // not inside a character
    }
    for (size_t i = 0; i < end; ++i) {
        unsigned char c = (unsigned char)text[i];
        if (c < 0x20 || c == 0x7F) {
            static const char HEX[] = "0123456789ABCDEF";
            out += "\\x";
            out += HEX[c >> 4];
            out += HEX[c & 15];
        } else {
            out += (char)c;
        }
    }
    if (end < text.size())
        out += "...";
    return out;
}

std::string quotedText(std::string_view text)
{
    return "\"" + shownText(text) + "\"";
}

std::vector<std::string_view> splitFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    size_t i = 0;
    while (i < line.size()) {
        if (line[i] == ' ' || line[i] == '\t') {
            ++i;
            continue;
        }
        size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

bool readInteger(std::string_view text, int64_t* value)
{
    bool negative = !text.empty() && text[0] == '-';
    size_t i = negative ? 1 : 0;
    if (i == text.size())
        return false;
    int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        if (magnitude <= NUMBER_LIMIT)
            magnitude = magnitude * 10 + (text[i] - '0');
    }
    *value = negative ? -magnitude : magnitude;
    return true;
}
