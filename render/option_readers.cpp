#include "render/option_readers.h"

#include <cstdio>
#include <cstring>

#include "render/material_engine.h"
#include "render/picture_kind.h"
#include "session/recipe_text.h"
#include "texture/texture.h"

// Every argument a message quotes goes through shownText: control
// characters escaped and long values cut, so a message stays one line and
// nothing on a command line can steer the terminal it is shown on.
namespace {

// A whole number in the option's range, read as a recipe's numbers are, or
// -1 with `problem` set to "--threads takes a number 1..256, not '0'".
int64_t wholeNumber(const OptionDeclaration& option, const char* value, std::string* problem)
{
    int64_t number = 0;
    if (readInteger(value, &number) && number >= option.range.least && number <= option.range.most)
        return number;
    *problem = std::string(option.name) + " takes a number " + rangeText(option.range) + ", not '"
        + shownText(value) + "'";
    return -1;
}

// The slot index 0..3 of a slot number "1".."4", a single digit, or -1
// with `problem` set.
int32_t slotIndex(const OptionDeclaration& option, const char* value, std::string* problem)
{
    const char least = (char)('0' + option.range.least);
    const char most = (char)('0' + option.range.most);
    if (strlen(value) == 1 && value[0] >= least && value[0] <= most)
        return value[0] - least;
    *problem = std::string(option.name) + " takes a slot number " + rangeText(option.range)
        + ", not '" + shownText(value) + "'";
    return -1;
}

// 8 or 16 from "8" or "16", else 0 with `problem` set.
int32_t channelBits(const OptionDeclaration& option, const char* value, std::string* problem)
{
    int32_t bits = strcmp(value, "8") == 0 ? 8 : strcmp(value, "16") == 0 ? 16 : 0;
    if (!bits)
        *problem = std::string(option.name) + " takes 8 or 16, not '" + shownText(value) + "'";
    return bits;
}

// A decimal number such as 0.02, 2 or .5 into `number`, rounded to the
// nearest double as the compiler rounds a literal; false if it is none. Up
// to 15 significant digits and 22 decimals: then the digits and the power
// of ten are exact doubles and the one division rounds once, the same on
// every system.
bool decimalNumber(const char* value, double* number)
{
    std::string digits;
    int32_t decimals = 0;
    bool point = false;
    for (const char* c = value; *c; ++c) {
        if (*c == '.' && !point) {
            point = true;
        } else if (*c >= '0' && *c <= '9') {
            digits += *c;
            decimals += point;
        } else {
            return false;
        }
    }
    if (digits.empty())
        return false;
    for (; decimals > 0 && digits.back() == '0'; --decimals)
        digits.pop_back();
    digits.erase(0, digits.find_first_not_of('0'));
    if (digits.size() > 15 || decimals > 22)
        return false;
    uint64_t whole = 0;
    for (char digit : digits)
        whole = whole * 10 + (uint64_t)(digit - '0');
    double scale = 1.0;
    for (int32_t i = 0; i < decimals; ++i)
        scale *= 10.0;
    *number = (double)whole / scale;
    return true;
}

// A number as --relief's help and message show it: "10", "0.02".
std::string shortDecimal(double number)
{
    char text[32];
    snprintf(text, sizeof text, "%g", number);
    return text;
}

// The relief's bounds as its help and its message give them.
const std::string& reliefRange()
{
    static const std::string range = "over 0, up to " + shortDecimal(MAX_RELIEF);
    return range;
}

} // namespace

const char* reliefHelp()
{
    static const std::string help = "how high black-to-white stands, as a fraction of the\n"
                                    "texture's width: "
        + reliefRange() + "; default " + shortDecimal(DEFAULT_RELIEF) + ".";
    return help.c_str();
}

// Kept as given: finishOptions works out the name when there is none.
bool readOutput(const OptionDeclaration&, const char* value, CommandOptions* options, std::string*)
{
    options->outputGiven = value;
    return true;
}

// A slot numbered from 1, as the recipe numbers them.
bool readSlot(const OptionDeclaration& option, const char* value, CommandOptions* options,
    std::string* problem)
{
    options->slot = slotIndex(option, value, problem);
    return options->slot >= 0;
}

// Sides are powers of two, which no range says.
bool readSize(
    const OptionDeclaration&, const char* value, CommandOptions* options, std::string* problem)
{
    int64_t side = 0;
    if (!readInteger(value, &side) || !isTextureSide(side)) {
        *problem = std::string("--size takes 256, 512, 1024, 2048, 4096, 8192 or 16384, not '")
            + shownText(value) + "'";
        return false;
    }
    options->render.side = (int32_t)side;
    return true;
}

// The format by name, for an OUT whose extension says none.
bool readFormat(
    const OptionDeclaration&, const char* value, CommandOptions* options, std::string* problem)
{
    if (strcmp(value, "bmp") == 0) {
        options->render.format = OUTPUT_BMP;
    } else if (strcmp(value, "png") == 0) {
        options->render.format = OUTPUT_PNG;
    } else {
        *problem = std::string("--format takes bmp or png, not '") + shownText(value) + "'";
        return false;
    }
    return true;
}

// The depth of every texture of the replay.
bool readDepth(const OptionDeclaration& option, const char* value, CommandOptions* options,
    std::string* problem)
{
    options->render.depth = channelBits(option, value, problem);
    return options->render.depth != 0;
}

// The bits written, checked against the depth and format once both are known.
bool readBits(const OptionDeclaration& option, const char* value, CommandOptions* options,
    std::string* problem)
{
    options->bits = channelBits(option, value, problem);
    return options->bits != 0;
}

// The kind whose row the flag names. Two kinds given are refused by the
// option rules, once every option has been read.
bool readPictureKind(
    const OptionDeclaration& option, const char*, CommandOptions* options, std::string*)
{
    for (const PictureKindRow& row : PICTURE_KINDS)
        if (row.option && strcmp(row.option, option.name) == 0)
            options->render.picture = row.kind;
    return true;
}

// The slot of a material's heights, numbered as --slot's.
bool readHeightSlot(const OptionDeclaration& option, const char* value, CommandOptions* options,
    std::string* problem)
{
    options->heightSlot = slotIndex(option, value, problem);
    return options->heightSlot >= 0;
}

// The engine by the name its row gives.
bool readEngine(const OptionDeclaration& option, const char* value, CommandOptions* options,
    std::string* problem)
{
    std::string names;
    for (const MaterialEngineRow& row : MATERIAL_ENGINES) {
        if (!row.name)
            continue;
        if (strcmp(row.name, value) == 0) {
            options->render.engine = row.engine;
            return true;
        }
        names += (names.empty() ? "" : ", ") + std::string(row.name);
    }
    *problem = std::string(option.name) + " takes " + names + ", not '" + shownText(value) + "'";
    return false;
}

// Read exactly, so the same relief gives the same normal map everywhere.
bool readRelief(
    const OptionDeclaration&, const char* value, CommandOptions* options, std::string* problem)
{
    double relief = 0.0;
    if (!decimalNumber(value, &relief) || relief <= 0.0 || relief > MAX_RELIEF) {
        *problem = "--relief takes a number " + reliefRange() + ", such as "
            + shortDecimal(DEFAULT_RELIEF) + ", not '" + shownText(value) + "'";
        return false;
    }
    options->render.normals.relief = relief;
    return true;
}

// Which way green points: the two conventions normal maps are read in.
bool readNormalY(
    const OptionDeclaration&, const char* value, CommandOptions* options, std::string* problem)
{
    if (strcmp(value, "up") == 0) {
        options->render.normals.greenUp = true;
    } else if (strcmp(value, "down") == 0) {
        options->render.normals.greenUp = false;
    } else {
        *problem = std::string("--normal-y takes up or down, not '") + shownText(value) + "'";
        return false;
    }
    return true;
}

// The threads of the split operations; the bytes are the same with any.
bool readThreads(const OptionDeclaration& option, const char* value, CommandOptions* options,
    std::string* problem)
{
    int64_t threads = wholeNumber(option, value, problem);
    options->threads = threads > 0 ? (int32_t)threads : 0;
    return threads > 0;
}

// A bound a thumbnailer gives, so that no recipe runs for hours.
bool readMaxSteps(const OptionDeclaration& option, const char* value, CommandOptions* options,
    std::string* problem)
{
    int64_t bound = wholeNumber(option, value, problem);
    options->maxSteps = bound > 0 ? bound : 0;
    return bound > 0;
}

// Variations are numbered as seeds are.
bool readSeed(const OptionDeclaration& option, const char* value, CommandOptions* options,
    std::string* problem)
{
    int64_t seed = wholeNumber(option, value, problem);
    options->seed = seed > 0 ? (uint32_t)seed : 0;
    return seed > 0;
}

// For a terminal that is not to be drawn on.
bool readQuiet(const OptionDeclaration&, const char*, CommandOptions* options, std::string*)
{
    options->quiet = true;
    return true;
}
