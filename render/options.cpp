#include "render/options.h"

#include <cstdio>
#include <cstring>

#include "session/recipe_text.h"

// Every argument a message quotes goes through shownText: control
// characters escaped and long values cut, so a message stays one line and
// nothing on a command line can steer the terminal it is shown on.
namespace {

const int32_t MAX_THREADS = 256;
// The largest --max-steps: nine digits, which the number reader takes.
const int64_t MAX_STEPS_BOUND = 999999999;

// Reads an option's value into `options`; false with `problem` set if it is wrong.
typedef bool (*OptionReader)(const char* value, CommandOptions* options, std::string* problem);

// A whole decimal number 1..`most`, or -1.
int64_t wholeNumber(const char* value, int64_t most)
{
    if (!*value || strlen(value) > 9)
        return -1;
    int64_t number = 0;
    for (const char* c = value; *c; ++c) {
        if (*c < '0' || *c > '9')
            return -1;
        number = number * 10 + (*c - '0');
    }
    return number >= 1 && number <= most ? number : -1;
}

bool readOutput(const char* value, CommandOptions* options, std::string*)
{
    options->output = value;
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

// Variations are numbered as seeds are: 1..4294967295, ten digits at most.
bool readSeed(const char* value, CommandOptions* options, std::string* problem)
{
    uint64_t seed = 0;
    bool digits = *value && strlen(value) <= 10;
    for (const char* c = value; digits && *c; ++c) {
        digits = *c >= '0' && *c <= '9';
        seed = seed * 10 + (uint64_t)(*c - '0');
    }
    if (!digits || seed < 1 || seed > 4294967295u) {
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

bool readRelief(const char* value, CommandOptions* options, std::string* problem)
{
    double relief = 0.0;
    if (!decimalNumber(value, &relief) || relief <= 0.0 || relief > MAX_RELIEF) {
        char range[64];
        snprintf(range, sizeof range, "over 0, up to %g, such as %g", MAX_RELIEF, DEFAULT_RELIEF);
        *problem
            = std::string("--relief takes a number ") + range + ", not '" + shownText(value) + "'";
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

struct OptionInfo {
    const char* name;
    bool takesValue;
    OptionReader read;
};

// The options, each given at most once.
const OptionInfo OPTIONS[] = {
    { "-o", true, readOutput },
    { "--slot", true, readSlot },
    { "--size", true, readSize },
    { "--format", true, readFormat },
    { "--depth", true, readDepth },
    { "--bits", true, readBits },
    { "--normal", false, readNormal },
    { "--height", false, readHeight },
    { "--material", false, readMaterial },
    { "--height-slot", true, readHeightSlot },
    { "--relief", true, readRelief },
    { "--normal-y", true, readNormalY },
    { "--threads", true, readThreads },
    { "--max-steps", true, readMaxSteps },
    { "--seed", true, readSeed },
    { "--quiet", false, readQuiet },
};
const int OPTION_COUNT = sizeof OPTIONS / sizeof OPTIONS[0];

// The option of that name's place in OPTIONS, or OPTION_COUNT.
int optionIndex(const char* name)
{
    int option = 0;
    while (option < OPTION_COUNT && strcmp(OPTIONS[option].name, name) != 0)
        ++option;
    return option;
}

} // namespace

bool readArguments(int argc, char** argv, CommandOptions* options, std::string* problem)
{
    bool given[OPTION_COUNT] = {};
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
        if (given[option]) {
            *problem = std::string(argument) + " given twice";
            return false;
        }
        given[option] = true;
        if (!OPTIONS[option].takesValue) {
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
    if (!options->recipe) {
        *problem = "no RECIPE given";
        return false;
    }
    // One kind of picture at a time.
    if (options->material && (options->normal || options->height)) {
        *problem = std::string("--material writes the normal map and heights itself; give it ")
            + "without " + (options->normal ? "--normal" : "--height");
        return false;
    }
    if (options->height && options->normal) {
        *problem = "--height and --normal write different pictures; give one of them";
        return false;
    }
    if (given[optionIndex("--height-slot")] && !options->material) {
        *problem = "--height-slot needs --material";
        return false;
    }
    // They only shape a normal map.
    for (const char* name : { "--relief", "--normal-y" }) {
        if (given[optionIndex(name)] && !options->normal && !options->material) {
            *problem = std::string(name) + " needs --normal or --material";
            return false;
        }
    }
    return true;
}

bool asksForHelp(int argc, char** argv)
{
    for (int i = 1; i < argc && strcmp(argv[i], "--") != 0; ++i)
        if (strcmp(argv[i], "--help") == 0 || strcmp(argv[i], "-h") == 0)
            return true;
    return false;
}
