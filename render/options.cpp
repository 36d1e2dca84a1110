#include "render/options.h"

#include <cstdio>
#include <cstring>

#include "session/recipe_text.h"

// Every argument a message quotes goes through shownText: control
// characters escaped and long values cut, so a message stays one line and
// nothing on a command line can steer the terminal it is shown on.
namespace {

const int32_t MAX_THREADS = 256;
// The largest --max-steps.
const int64_t MAX_STEPS_BOUND = 999999999;

// A whole number 1..`most`, read as a recipe's numbers are, or -1.
int64_t wholeNumber(const char* value, int64_t most)
{
    int64_t number = 0;
    return readInteger(value, &number) && number >= 1 && number <= most ? number : -1;
}

bool readOutput(const char* value, CommandOptions* options, std::string*)
{
    options->outputGiven = value;
    return true;
}

// The slot index 0..3 of a slot number "1".."4" given to `option`, or -1
// with `problem` set.
int32_t slotIndex(const char* option, const char* value, std::string* problem)
{
    if (strlen(value) == 1 && value[0] >= '1' && value[0] <= '4')
        return value[0] - '1';
    *problem = std::string(option) + " takes a slot number 1..4, not '" + shownText(value) + "'";
    return -1;
}

bool readSlot(const char* value, CommandOptions* options, std::string* problem)
{
    options->slot = slotIndex("--slot", value, problem);
    return options->slot >= 0;
}

bool readSize(const char* value, CommandOptions* options, std::string* problem)
{
    int64_t side = wholeNumber(value, MAX_TEXTURE_SIDE);
    if (!isTextureSide(side)) {
        *problem = std::string("--size takes 256, 512, 1024, 2048, 4096, 8192 or 16384, not '")
            + shownText(value) + "'";
        return false;
    }
    options->side = (int32_t)side;
    return true;
}

bool readFormat(const char* value, CommandOptions* options, std::string* problem)
{
    if (strcmp(value, "bmp") == 0) {
        options->format = OUTPUT_BMP;
    } else if (strcmp(value, "png") == 0) {
        options->format = OUTPUT_PNG;
    } else {
        *problem = std::string("--format takes bmp or png, not '") + shownText(value) + "'";
        return false;
    }
    return true;
}

// 8 or 16 from "8" or "16", else 0.
int32_t channelBits(const char* value)
{
    return strcmp(value, "8") == 0 ? 8 : strcmp(value, "16") == 0 ? 16 : 0;
}

bool readDepth(const char* value, CommandOptions* options, std::string* problem)
{
    options->depth = channelBits(value);
    if (!options->depth)
        *problem = std::string("--depth takes 8 or 16, not '") + shownText(value) + "'";
    return options->depth != 0;
}

bool readBits(const char* value, CommandOptions* options, std::string* problem)
{
    options->bits = channelBits(value);
    if (!options->bits)
        *problem = std::string("--bits takes 8 or 16, not '") + shownText(value) + "'";
    return options->bits != 0;
}

bool readThreads(const char* value, CommandOptions* options, std::string* problem)
{
    int64_t threads = wholeNumber(value, MAX_THREADS);
    if (threads < 1) {
        *problem = std::string("--threads takes a number 1..") + std::to_string(MAX_THREADS)
            + ", not '" + shownText(value) + "'";
        return false;
    }
    options->threads = (int32_t)threads;
    return true;
}

bool readMaxSteps(const char* value, CommandOptions* options, std::string* problem)
{
    int64_t bound = wholeNumber(value, MAX_STEPS_BOUND);
    if (bound < 1) {
        *problem = std::string("--max-steps takes a number 1..") + std::to_string(MAX_STEPS_BOUND)
            + ", not '" + shownText(value) + "'";
        return false;
    }
    options->maxSteps = bound;
    return true;
}

// Variations are numbered as seeds are: 1..4294967295.
bool readSeed(const char* value, CommandOptions* options, std::string* problem)
{
    int64_t seed = wholeNumber(value, 4294967295);
    if (seed < 1) {
        *problem
            = std::string("--seed takes a number 1..4294967295, not '") + shownText(value) + "'";
        return false;
    }
    options->seed = (uint32_t)seed;
    return true;
}

bool readQuiet(const char*, CommandOptions* options, std::string*)
{
    options->quiet = true;
    return true;
}

bool readNormal(const char*, CommandOptions* options, std::string*)
{
    options->normal = true;
    return true;
}

bool readHeight(const char*, CommandOptions* options, std::string*)
{
    options->height = true;
    return true;
}

bool readMaterial(const char*, CommandOptions* options, std::string*)
{
    options->material = true;
    return true;
}

bool readHeightSlot(const char* value, CommandOptions* options, std::string* problem)
{
    options->heightSlot = slotIndex("--height-slot", value, problem);
    return options->heightSlot >= 0;
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
const std::string RELIEF_RANGE = "over 0, up to " + shortDecimal(MAX_RELIEF);
const std::string RELIEF_HELP = "how high black-to-white stands, as a fraction of the\n"
                                "texture's width: "
    + RELIEF_RANGE + "; default " + shortDecimal(DEFAULT_RELIEF) + ".";

bool readRelief(const char* value, CommandOptions* options, std::string* problem)
{
    double relief = 0.0;
    if (!decimalNumber(value, &relief) || relief <= 0.0 || relief > MAX_RELIEF) {
        *problem = "--relief takes a number " + RELIEF_RANGE + ", such as "
            + shortDecimal(DEFAULT_RELIEF) + ", not '" + shownText(value) + "'";
        return false;
    }
    options->normals.relief = relief;
    return true;
}

bool readNormalY(const char* value, CommandOptions* options, std::string* problem)
{
    if (strcmp(value, "up") == 0) {
        options->normals.greenUp = true;
    } else if (strcmp(value, "down") == 0) {
        options->normals.greenUp = false;
    } else {
        *problem = std::string("--normal-y takes up or down, not '") + shownText(value) + "'";
        return false;
    }
    return true;
}

} // namespace

// The usage line shows most options as "[--slot N]"; the kinds of picture
// are one choice, and --height-slot goes with --material only.
const OptionDeclaration OPTIONS[] = {
    { "-o", "OUT", nullptr, "[%s]",
        "the file to write, ending in .bmp or .png; it is replaced.\n"
        "Default: RECIPE with .recipe replaced by .bmp (or .bmp\n"
        "appended); required when RECIPE is -.",
        readOutput },
    { "--slot", "N", nullptr, "[%s]", "write slot N (1..4) instead of the last save line's slot.",
        readSlot },
    { "--size", "N", nullptr, "[%s]",
        "render at N x N pixels: 256 (the default), 512, 1024, 2048,\n"
        "4096, 8192 or 16384. The same texture with N / 256 times\n"
        "the detail; 256 is what the window shows and saves.",
        readSize },
    { "--format", "bmp|png", "F", "[%s]", "write OUT as bmp or png, whatever its name ends in.",
        readFormat },
    { "--depth", "8|16", "D", "[%s]", "render with 8 (the default) or 16 bits per channel.",
        readDepth },
    { "--bits", "8|16", "B", "[%s]",
        "write 8 or 16 bits per channel; default: the depth in a\n"
        "PNG, 8 in a BMP. 16 needs --depth 16 and a PNG.",
        readBits },
    { "--normal", nullptr, nullptr, "[%s |",
        "write the slot's normal map instead of its colours, its\n"
        "heights the brightness of a depth-16 replay. --depth then\n"
        "only sets the default of --bits; 16 bits need a PNG.",
        readNormal },
    { "--height", nullptr, nullptr, "%s |",
        "write the slot's heights instead of its colours: a 16-bit\n"
        "grey PNG of the brightness of a depth-16 replay, the very\n"
        "heights --normal makes its normal map from.",
        readHeight },
    { "--material", nullptr, nullptr, "%s",
        "write a material from one depth-16 replay: the colours\n"
        "to OUT (8 bits unless --bits 16; --depth only sets that\n"
        "default, as with --normal), and beside it OUT's name with\n"
        "-height (a 16-bit PNG of heights) and -normal (the normal\n"
        "map, in OUT's format) before its extension.",
        readMaterial },
    { "--height-slot", "N", nullptr, "[%s]]",
        "with --material, the slot (1..4) of the heights;\n"
        "default: the recipe's last material line's, else --slot's.",
        readHeightSlot },
    { "--relief", "R", nullptr, "[%s]", RELIEF_HELP.c_str(), readRelief },
    { "--normal-y", "up|down", "Y", "[%s]",
        "up (the default; OpenGL style) or down (DirectX style):\n"
        "which way the normal map's green points.",
        readNormalY },
    { "--threads", "N", nullptr, "[%s]", "use N threads (1..256); default: every processor.",
        readThreads },
    { "--max-steps", "N", nullptr, "[%s]",
        "refuse a recipe that would run more than N operations,\n"
        "every repeat counted; default: no bound.",
        readMaxSteps },
    { "--seed", "N", nullptr, "[%s]",
        "render variation N (1..4294967295) of the same design: the\n"
        "random generator is reseeded from N after the start-up\n"
        "textures and at every seed line; default: the recipe as saved.",
        readSeed },
    { "--quiet", nullptr, nullptr, "[%s]", "no progress line, even on a terminal.", readQuiet },
};
const int32_t OPTION_COUNT = sizeof OPTIONS / sizeof OPTIONS[0];
static_assert(
    sizeof OPTIONS / sizeof OPTIONS[0] <= 32, "CommandOptions::given has a bit per option");

int32_t optionIndex(const char* name)
{
    int32_t option = 0;
    while (option < OPTION_COUNT && strcmp(OPTIONS[option].name, name) != 0)
        ++option;
    return option;
}

bool readArguments(int argc, char** argv, CommandOptions* options, std::string* problem)
{
    bool namesOnly = false; // after "--"
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (!namesOnly && strcmp(argument, "--") == 0) {
            namesOnly = true;
            continue;
        }
        // "-" alone is standard input, not an option.
        if (namesOnly || argument[0] != '-' || argument[1] == '\0') {
            if (options->recipe) {
                *problem = std::string("one RECIPE only, not also '") + shownText(argument) + "'";
                return false;
            }
            options->recipe = argument;
            continue;
        }
        int option = optionIndex(argument);
        if (option == OPTION_COUNT) {
            *problem = std::string("unknown option '") + shownText(argument) + "'";
            return false;
        }
        if (options->given & (1u << option)) {
            *problem = std::string(argument) + " given twice";
            return false;
        }
        options->given |= 1u << option;
        if (!OPTIONS[option].value) {
            OPTIONS[option].read(nullptr, options, problem);
            continue;
        }
        if (i + 1 == argc) {
            *problem = std::string(argument) + " needs a value";
            return false;
        }
        if (!OPTIONS[option].read(argv[++i], options, problem))
            return false;
    }
    return checkOptionRules(*options, problem);
}

bool asksForHelp(int argc, char** argv)
{
    for (int i = 1; i < argc && strcmp(argv[i], "--") != 0; ++i)
        for (const char* name : HELP_NAMES)
            if (strcmp(argv[i], name) == 0)
                return true;
    return false;
}
