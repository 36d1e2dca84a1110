// The lexical side of reading a recipe: which bytes are text, how a line
// splits into fields, how a number reads, and how recipe text is echoed in a
// message so that nothing in a file can steer a terminal.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Length of the UTF-8 sequence that starts the bytes, or 0 if they do not
// start one. Overlong forms, surrogates and code points past U+10FFFF are not text.
size_t utf8SequenceLength(const unsigned char* bytes, size_t available);

// Text from the recipe as a message shows it: control characters escaped as
// \xHH, and text past 40 bytes cut short, at a character's start, with "...".
std::string shownText(std::string_view text);

// shownText in double quotes.
std::string quotedText(std::string_view text);

// The fields of a line, split at runs of spaces and tabs.
std::vector<std::string_view> splitFields(std::string_view line);

// Reads a plain decimal integer: an optional minus sign, then digits only.
// Magnitudes past 10^12 saturate, which every range check refuses.
bool readInteger(std::string_view text, int64_t* value);
