#include "render/options.h"

#include <cstring>

#include "session/recipe_text.h"

const char* const USAGE
    = "usage: quiltor-render RECIPE [-o OUT] [--slot N] [--size N] [--format bmp|png] "
      "[--depth 8|16] [--bits 8|16] [--normal | --height | --material [--height-slot N]] [--relief "
      "R] "
      "[--normal-y up|down] [--threads N] [--max-steps N] [--seed N] [--quiet]";

const char* const HELP
    = "\n"
      "Replays RECIPE (- for standard input) from the start-up textures and\n"
      "writes one slot to OUT, without a window or a display.\n"
      "\n"
      "  -o OUT        the file to write, ending in .bmp or .png; it is replaced.\n"
      "                Default: RECIPE with .recipe replaced by .bmp (or .bmp\n"
      "                appended); required when RECIPE is -.\n"
      "  --slot N      write slot N (1..4) instead of the last save line's slot.\n"
      "  --size N      render at N x N pixels: 256 (the default), 512, 1024, 2048,\n"
      "                4096, 8192 or 16384. The same texture with N / 256 times\n"
      "                the detail; 256 is what the window shows and saves.\n"
      "  --format F    write OUT as bmp or png, whatever its name ends in.\n"
      "  --depth D     render with 8 (the default) or 16 bits per channel.\n"
      "  --bits B      write 8 or 16 bits per channel; default: the depth in a\n"
      "                PNG, 8 in a BMP. 16 needs --depth 16 and a PNG.\n"
      "  --normal      write the slot's normal map instead of its colours, its\n"
      "                heights the brightness of a depth-16 replay. --depth then\n"
      "                only sets the default of --bits; 16 bits need a PNG.\n"
      "  --height      write the slot's heights instead of its colours: a 16-bit\n"
      "                grey PNG of the brightness of a depth-16 replay, the very\n"
      "                heights --normal makes its normal map from.\n"
      "  --material    write a material from one depth-16 replay: the colours\n"
      "                to OUT (8 bits unless --bits 16; --depth only sets that\n"
      "                default, as with --normal), and beside it OUT's name with\n"
      "                -height (a 16-bit PNG of heights) and -normal (the normal\n"
      "                map, in OUT's format) before its extension.\n"
      "  --height-slot N  with --material, the slot (1..4) of the heights;\n"
      "                default: the recipe's last material line's, else --slot's.\n"
      "  --relief R    how high black-to-white stands, as a fraction of the\n"
      "                texture's width: over 0, up to 10; default 0.02.\n"
      "  --normal-y Y  up (the default; OpenGL style) or down (DirectX style):\n"
      "                which way the normal map's green points.\n"
      "  --threads N   use N threads (1..256); default: every processor.\n"
      "  --max-steps N refuse a recipe that would run more than N operations,\n"
      "                every repeat counted; default: no bound.\n"
      "  --seed N      render variation N (1..4294967295) of the same design: the\n"
      "                random generator is reseeded from N after the start-up\n"
      "                textures and at every seed line; default: the recipe as saved.\n"
      "  --quiet       no progress line, even on a terminal.\n"
      "  --help, -h    show this text.\n"
      "\n"
      "A recipe is text, one line per step:\n"
      "  quiltor recipe 1                            the first line\n"
      "  # a comment                                 ignored, as are blank lines\n"
      "  cells target=1 nr=12 size=40                an operation, keys in any order\n"
      "  mix target=1 source=2 balance=100 repeat=3  repeat=N: applied N times\n"
      "  undo / redo                                 as the keys do\n"
      "  seed N                                      sets the random generator\n"
      "  save target=1                               the slot to write; last wins\n"
      "Operations: cells nr size, plasma variation, pong size, sine nrx nry,\n"
      "add, sub, copy, max (source), mix source balance,\n"
      "colorize color1=R,G,B color2=R,G,B, invert, clear color1=R,G,B, move x y,\n"
      "deform nrx nry sizex sizey, twirl direction. Slots are 1..4.\n"
      "Errors name the line, e.g. brick.recipe:7: balance=300 is outside 0..256;\n"
      "standard input is called <stdin>.\n"
      "\n"
      "A render longer than half a second shows its progress on one line when\n"
      "standard error is a terminal.\n"
      "\n"
      "Exit status: 0 written; 1 bad usage; 3 OUT could not be written, or the\n"
      "memory for N x N could not be had; 4 RECIPE could not be read, is not\n"
      "a valid recipe, or would run more operations than --max-steps allows.\n";

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

bool readSlot(const char* value, CommandOptions* options, std::string* problem)
{
    if (strlen(value) != 1 || value[0] < '1' || value[0] > '4') {
        *problem = std::string("--slot takes a slot number 1..4, not '") + shownText(value) + "'";
        return false;
    }
    options->slot = value[0] - '1';
    return true;
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
    if (strlen(value) != 1 || value[0] < '1' || value[0] > '4') {
        *problem
            = std::string("--height-slot takes a slot number 1..4, not '") + shownText(value) + "'";
        return false;
    }
    options->heightSlot = value[0] - '1';
    return true;
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
        *problem = std::string("--relief takes a number over 0, up to 10, such as 0.02, not '")
            + shownText(value) + "'";
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
