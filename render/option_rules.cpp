// The rules between the renderer's options, all in one place: which
// pictures exclude each other, which options go only with another, and the
// output's name, format and bits worked out from them.
#include <cstring>
#include <strings.h>

#include "render/options.h"
#include "session/recipe_file.h"
#include "session/recipe_text.h"

namespace {

bool endsWith(const char* text, const char* suffix)
{
    size_t length = strlen(text);
    size_t suffixLength = strlen(suffix);
    return length >= suffixLength && strcasecmp(text + length - suffixLength, suffix) == 0;
}

bool given(const CommandOptions& options, const char* name)
{
    return options.given & (1u << optionIndex(name));
}

// The bits per channel to write in that format: --bits, else the depth in a
// PNG and 8 in a BMP; 0 with `problem` set if they cannot be written. A
// normal map comes from a depth-16 replay whatever the depth.
int32_t bitsToWrite(const CommandOptions& options, OutputFormat format, std::string* problem)
{
    if (options.bits == 0)
        return format == OUTPUT_PNG ? options.depth : 8;
    if (options.bits > options.depth && !options.normal && !options.material) {
        *problem = "--bits 16 needs --depth 16";
        return 0;
    }
    if (options.bits == 16 && format != OUTPUT_PNG) {
        *problem = "--bits 16 needs a PNG: a BMP holds 8 bits per channel";
        return 0;
    }
    return options.bits;
}

// A material's file beside OUT: OUT's name with `mark` ("-height") before
// its extension, and that extension, or `extension` in its place if given.
std::string besideOutput(const std::string& output, const char* mark, const char* extension)
{
    size_t start = output.find_last_of("/\\");
    start = start == std::string::npos ? 0 : start + 1;
    size_t dot = output.rfind('.');
    // A name's leading dot, as in ".png", starts no extension.
    if (dot == std::string::npos || dot <= start)
        dot = output.size();
    std::string name = output.substr(0, dot) + mark;
    return name + (extension ? extension : output.substr(dot).c_str());
}

} // namespace

bool checkOptionRules(const CommandOptions& options, std::string* problem)
{
    if (!options.recipe) {
        *problem = "no RECIPE given";
        return false;
    }
    // One kind of picture at a time.
    if (options.material && (options.normal || options.height)) {
        *problem = std::string("--material writes the normal map and heights itself; give it ")
            + "without " + (options.normal ? "--normal" : "--height");
        return false;
    }
    if (options.height && options.normal) {
        *problem = "--height and --normal write different pictures; give one of them";
        return false;
    }
    if (given(options, "--height-slot") && !options.material) {
        *problem = "--height-slot needs --material";
        return false;
    }
    // They only shape a normal map.
    for (const char* name : { "--relief", "--normal-y" }) {
        if (given(options, name) && !options.normal && !options.material) {
            *problem = std::string(name) + " needs --normal or --material";
            return false;
        }
    }
    return true;
}

bool finishOptions(CommandOptions* options, std::string* problem)
{
    if (!options->outputGiven && readsStandardInput(*options)) {
        *problem = "reading standard input needs -o OUT";
        return false;
    }
    // Without -o, the picture is named after the recipe, .png for --format
    // png and else .bmp.
    if (options->outputGiven)
        options->output = options->outputGiven;
    else
        options->output
            = recipeStem(options->recipe) + (options->format == OUTPUT_PNG ? ".png" : ".bmp");
    if (options->format == OUTPUT_UNKNOWN)
        options->format = outputFormatOf(options->output.c_str());
    if (options->format == OUTPUT_UNKNOWN) {
        *problem
            = "'" + shownText(options->output) + "' must end in .bmp or .png, or give --format";
        return false;
    }
    if (options->height && options->format != OUTPUT_PNG) {
        *problem = "--height writes a 16-bit PNG: name OUT .png or give --format png";
        return false;
    }
    if (options->height && options->bits) {
        *problem = "--height always writes 16 bits per sample; give it without --bits";
        return false;
    }
    options->bitsWritten = options->height ? 16 : bitsToWrite(*options, options->format, problem);
    if (!options->bitsWritten)
        return false;
    options->heightFile = besideOutput(options->output, "-height", ".png");
    options->normalFile = besideOutput(options->output, "-normal", nullptr);
    return true;
}

OutputFormat outputFormatOf(const char* fileName)
{
    if (endsWith(fileName, ".bmp"))
        return OUTPUT_BMP;
    if (endsWith(fileName, ".png"))
        return OUTPUT_PNG;
    return OUTPUT_UNKNOWN;
}

bool readsStandardInput(const CommandOptions& options)
{
    return options.recipe && strcmp(options.recipe, "-") == 0;
}
