// The renderer's one-line usage and what --help prints after it: the
// options' parts come from their declarations in options.cpp.
#include <cstdio>
#include <cstring>

#include "render/options.h"

namespace {

// The prose before the options' list in --help.
const char* const HELP_INTRODUCTION
    = "\n"
      "Replays RECIPE (- for standard input) from the start-up textures and\n"
      "writes one slot to OUT, without a window or a display.\n"
      "\n";

// --help itself is read before the other options (asksForHelp).
const char* const HELP_OPTION_HELP = "show this text.";

// The prose after the list.
const char* const HELP_REST
    = "\n"
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

// What --help says of each option starts in this column, two spaces in;
// continued lines start there too. A longer name is followed by two spaces.
const size_t HELP_COLUMN = 14;

// "--slot N", or the flag alone; with the value as --help or the usage names it.
std::string synopsis(const OptionDeclaration& option, const char* value)
{
    return value ? std::string(option.name) + " " + value : std::string(option.name);
}

// What --help says of an option, its range in place of RANGE_MARK.
std::string helpOf(const OptionDeclaration& option)
{
    std::string help = option.help;
    size_t mark = help.find(RANGE_MARK);
    if (mark != std::string::npos)
        help.replace(mark, strlen(RANGE_MARK), rangeText(option.range));
    return help;
}

// An entry of the options' list: the name in its column, the help beside
// it, continued lines under its first.
void addHelpLines(std::string& text, const std::string& name, const std::string& help)
{
    std::string column = name.size() < HELP_COLUMN
        ? name + std::string(HELP_COLUMN - name.size(), ' ')
        : name + "  ";
    text += "  " + column;
    for (char c : help) {
        text += c;
        if (c == '\n')
            text += std::string(2 + HELP_COLUMN, ' ');
    }
    text += "\n";
}

// "usage: quiltor-render RECIPE [-o OUT] ...", each option as its usage form shows it.
std::string makeUsageLine()
{
    std::string line = "usage: quiltor-render RECIPE";
    for (int32_t i = 0; i < OPTION_COUNT; ++i) {
        char shown[96];
        snprintf(shown, sizeof shown, OPTIONS[i].usageForm,
            synopsis(OPTIONS[i], OPTIONS[i].value).c_str());
        line += std::string(" ") + shown;
    }
    return line;
}

// The introduction, an entry per option and --help's own, then the rest.
std::string makeHelpText()
{
    std::string text = HELP_INTRODUCTION;
    for (int32_t i = 0; i < OPTION_COUNT; ++i) {
        const OptionDeclaration& option = OPTIONS[i];
        addHelpLines(text, synopsis(option, option.helpValue ? option.helpValue : option.value),
            helpOf(option));
    }
    addHelpLines(text, std::string(HELP_NAMES[0]) + ", " + HELP_NAMES[1], HELP_OPTION_HELP);
    return text + HELP_REST;
}

} // namespace

const std::string& usageLine()
{
    static const std::string line = makeUsageLine();
    return line;
}

const std::string& helpText()
{
    static const std::string text = makeHelpText();
    return text;
}
