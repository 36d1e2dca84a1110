#include "render/options.h"

#include <cstring>

#include "render/option_readers.h"
#include "session/recipe_text.h"
#include "session/step.h"
#include "texture/parallel.h"
#include "texture/texture.h"

namespace {

// The ranges of the options that take numbers, each said once: the
// readers' messages and the help show them from the declarations.
const WholeRange NO_RANGE = { 0, 0 };
const WholeRange SLOT_RANGE = { 1, SLOT_COUNT };
const WholeRange THREAD_RANGE = { 1, MAX_OPERATION_THREADS };
const WholeRange STEPS_RANGE = { 1, 999999999 };
// Variations are numbered as seeds are.
const WholeRange SEED_RANGE = { 1, 4294967295 };

} // namespace

std::string rangeText(const WholeRange& range)
{
    return std::to_string(range.least) + ".." + std::to_string(range.most);
}

// The usage line shows most options as "[--slot N]"; the kinds of picture
// are one choice, and --height-slot goes with --material only.
const OptionDeclaration OPTIONS[] = {
    { "-o", "OUT", nullptr, "[%s]",
        "the file to write, ending in .bmp or .png; it is replaced.\n"
        "Default: RECIPE with .recipe replaced by .bmp (or .bmp\n"
        "appended); required when RECIPE is -.",
        readOutput, NO_RANGE },
    { "--slot", "N", nullptr, "[%s]",
        "write slot N ({range}) instead of the last save line's slot.", readSlot, SLOT_RANGE },
    { "--size", "N", nullptr, "[%s]",
        "render at N x N pixels: 256 (the default), 512, 1024, 2048,\n"
        "4096, 8192 or 16384. The same texture with N / 256 times\n"
        "the detail; 256 is what the window shows and saves.",
        readSize, NO_RANGE },
    { "--format", "bmp|png", "F", "[%s]", "write OUT as bmp or png, whatever its name ends in.",
        readFormat, NO_RANGE },
    { "--depth", "8|16", "D", "[%s]", "render with 8 (the default) or 16 bits per channel.",
        readDepth, NO_RANGE },
    { "--bits", "8|16", "B", "[%s]",
        "write 8 or 16 bits per channel; default: the depth in a\n"
        "PNG, 8 in a BMP. 16 needs --depth 16 and a PNG.",
        readBits, NO_RANGE },
    { "--normal", nullptr, nullptr, "[%s |",
        "write the slot's normal map instead of its colours, its\n"
        "heights the brightness of a depth-16 replay. --depth then\n"
        "only sets the default of --bits; 16 bits need a PNG.",
        readPictureKind, NO_RANGE },
    { "--height", nullptr, nullptr, "%s |",
        "write the slot's heights instead of its colours: a 16-bit\n"
        "grey PNG of the brightness of a depth-16 replay, the very\n"
        "heights --normal makes its normal map from.",
        readPictureKind, NO_RANGE },
    { "--roughness", nullptr, nullptr, "%s |",
        "write the slot's roughness map instead of its colours: its\n"
        "grey, the brightness of a depth-16 replay, 8 bits unless\n"
        "--bits 16.",
        readPictureKind, NO_RANGE },
    { "--metallic", nullptr, nullptr, "%s |", "write the slot's metallic map, as --roughness does.",
        readPictureKind, NO_RANGE },
    { "--occlusion", nullptr, nullptr, "%s |",
        "write the occlusion map of the slot's heights, white where\n"
        "the sky is open: grey, 8 bits unless --bits 16.",
        readPictureKind, NO_RANGE },
    { "--material", nullptr, nullptr, "%s",
        "write a material from one depth-16 replay: the colours\n"
        "to OUT (8 bits unless --bits 16; --depth only sets that\n"
        "default, as with --normal), and beside it OUT's name with\n"
        "-height (a 16-bit PNG of heights), -normal (the normal\n"
        "map, in OUT's format), -roughness, -metallic and -ao (the\n"
        "occlusion) before its extension, each as its option\n"
        "alone writes it from the recipe's material line's slots.",
        readPictureKind, NO_RANGE },
    { "--height-slot", "N", nullptr, "[%s]",
        "with --material, the slot ({range}) of the heights;\n"
        "default: the recipe's last material line's, else --slot's.",
        readHeightSlot, SLOT_RANGE },
    { "--for", "gltf|unreal|unity|godot", "E", "[%s]]",
        "with --material, write what engine E takes instead: OUT,\n"
        "-normal with E's green (down for unreal, else up) and a\n"
        "packed texture, a PNG: -orm (red occlusion, green\n"
        "roughness, blue metallic), or for unity -mask (red\n"
        "metallic, green occlusion, blue 1, alpha smoothness).\n"
        "--bits 16 for gltf and godot only.",
        readEngine, NO_RANGE },
    { "--relief", "R", nullptr, "[%s]", reliefHelp(), readRelief, NO_RANGE },
    { "--normal-y", "up|down", "Y", "[%s]",
        "up (the default; OpenGL style) or down (DirectX style):\n"
        "which way the normal map's green points.",
        readNormalY, NO_RANGE },
    { "--threads", "N", nullptr, "[%s]", "use N threads ({range}); default: every processor.",
        readThreads, THREAD_RANGE },
    { "--max-steps", "N", nullptr, "[%s]",
        "refuse a recipe that would run more than N operations,\n"
        "every repeat counted; default: no bound.",
        readMaxSteps, STEPS_RANGE },
    { "--seed", "N", nullptr, "[%s]",
        "render variation N ({range}) of the same design: the\n"
        "random generator is reseeded from N after the start-up\n"
        "textures and at every seed line; default: the recipe as saved.",
        readSeed, SEED_RANGE },
    { "--quiet", nullptr, nullptr, "[%s]", "no progress line, even on a terminal.", readQuiet,
        NO_RANGE },
};
const int32_t OPTION_COUNT = sizeof OPTIONS / sizeof OPTIONS[0];
static_assert(
    sizeof OPTIONS / sizeof OPTIONS[0] <= 32, "CommandOptions::given has a bit per option");

// A walk of the table: it has a few rows, and its order is the usage's.
int32_t optionIndex(const char* name)
{
    int32_t option = 0;
    while (option < OPTION_COUNT && strcmp(OPTIONS[option].name, name) != 0)
        ++option;
    return option;
}

// Every option is read before the rules between them are checked, so an
// unknown or doubled option is what a message names first.
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
            OPTIONS[option].read(OPTIONS[option], nullptr, options, problem);
            continue;
        }
        if (i + 1 == argc) {
            *problem = std::string(argument) + " needs a value";
            return false;
        }
        if (!OPTIONS[option].read(OPTIONS[option], argv[++i], options, problem))
            return false;
    }
    return checkOptionRules(*options, problem);
}

// Asked first: --help wins over any mistake on the same command line.
bool asksForHelp(int argc, char** argv)
{
    for (int i = 1; i < argc && strcmp(argv[i], "--") != 0; ++i)
        for (const char* name : HELP_NAMES)
            if (strcmp(argv[i], name) == 0)
                return true;
    return false;
}
