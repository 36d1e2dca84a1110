// Reading and writing recipes: what is accepted, the exact messages for what
// is not, and that writing then reading gives the same lines back.

#include "session/recipe.h"

#include <gtest/gtest.h>
#include <string>

#include "tests/session/slots.h"

namespace {

using testsupport::makeStep;

const std::string HEADER = "quiltor recipe 1\n";

// The message parsing `text` as "brick.recipe" gives, or "" if it parses.
std::string errorOf(const std::string& text)
{
    Recipe recipe;
    std::string error;
    bool parsed = parseRecipe(text.data(), text.size(), "brick.recipe", &recipe, &error);
    if (parsed)
        return "";
    EXPECT_TRUE(recipe.lines.empty());
    EXPECT_EQ(recipe.saveSlot, -1);
    return error;
}

// The canonical text of a recipe that must parse.
std::string canonical(const std::string& text)
{
    Recipe recipe;
    std::string error;
    EXPECT_TRUE(parseRecipe(text.data(), text.size(), "brick.recipe", &recipe, &error)) << error;
    return formatRecipe(recipe.lines, recipe.saveSlot);
}

TEST(RecipeErrors, NameTheLineAndWhatIsWrong)
{
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        { "cells target=1 nr=5 size=5\n", "brick.recipe:1: expected \"quiltor recipe 1\"" },
        { "# made by hand\n\nquiltor recipe 2\n", "brick.recipe:3: expected \"quiltor recipe 1\"" },
        { "", "brick.recipe:1: expected \"quiltor recipe 1\" before the end of the file" },
        { "# nothing\n\n",
            "brick.recipe:2: expected \"quiltor recipe 1\" before the end of the file" },
        { HEADER + "invert target=1\nswirl target=2\n",
            "brick.recipe:3: unknown operation \"swirl\"" },
        { HEADER + "\n\nmix target=1 balance=3\n", "brick.recipe:4: mix needs source=" },
        { HEADER + "save\n", "brick.recipe:2: save needs target=" },
        { HEADER + "mix target=1 source=2 balance=300\n",
            "brick.recipe:2: balance=300 is outside 0..256" },
        { HEADER + "move target=1 x=-129 y=0\n", "brick.recipe:2: x=-129 is outside -128..128" },
        { HEADER + "pong target=5 size=9\n", "brick.recipe:2: target=5 is outside 1..4" },
        { HEADER + "invert target=1 repeat=0\n", "brick.recipe:2: repeat=0 is outside 1..1000000" },
        { HEADER + "invert target=1 repeat=1000001\n",
            "brick.recipe:2: repeat=1000001 is outside 1..1000000" },
        { HEADER + "sine target=1 nrx=5 nry=99999999999999999999999999\n",
            "brick.recipe:2: nry=99999999999999999999999999 is outside 0..99" },
        { HEADER + "sine target=1 nrx=+5 nry=1\n", "brick.recipe:2: nrx=+5 is not a whole number" },
        { HEADER + "sine target=1 nrx= nry=1\n", "brick.recipe:2: nrx= is not a whole number" },
        { HEADER + "clear target=1 color1=1,2\n",
            "brick.recipe:2: color1=1,2 is not a colour R,G,B" },
        { HEADER + "clear target=1 color1=1,256,3\n",
            "brick.recipe:2: color1=1,256,3 has a component outside 0..255" },
        { HEADER + "twirl target=1 direction=5 target=2\n",
            "brick.recipe:2: target= is given twice" },
        { HEADER + "invert target=1 nrx=5\n", "brick.recipe:2: invert does not read nrx=" },
        { HEADER + "pong target=1 size=9 source=2\n",
            "brick.recipe:2: pong does not read source=" },
        { HEADER + "clear target=1 color1=1,2,3 colour2=1,2,3\n",
            "brick.recipe:2: unknown key \"colour2\"" },
        { HEADER + "invert target=1 now\n", "brick.recipe:2: expected key=value, found \"now\"" },
        { HEADER + "invert =1\n", "brick.recipe:2: expected key=value, found \"=1\"" },
        { HEADER + "undo 2\n", "brick.recipe:2: undo takes nothing after it" },
        { HEADER + "seed 0\n", "brick.recipe:2: seed 0 is not allowed (1..4294967295)" },
        { HEADER + "seed 4294967296\n",
            "brick.recipe:2: seed 4294967296 is outside 1..4294967295" },
        { HEADER + "seed one\n", "brick.recipe:2: seed one is not a whole number" },
        { HEADER + "seed\n", "brick.recipe:2: seed needs one number, 1..4294967295" },
        { HEADER + "invert target=1\nmaterial height=5\n",
            "brick.recipe:3: height=5 is outside 1..4" },
        { HEADER + "material\n",
            "brick.recipe:2: material needs height=, roughness= or metallic=" },
        { HEADER + "material roughness=0\n", "brick.recipe:2: roughness=0 is outside 1..4" },
        { HEADER + "material height=1 metallic=5\n", "brick.recipe:2: metallic=5 is outside 1..4" },
        { HEADER + "material metallic=2 metallic=2\n", "brick.recipe:2: metallic= is given twice" },
        { HEADER + "material shine=2\n", "brick.recipe:2: unknown key \"shine\"" },
        { HEADER + "invert target=1 roughness=2\n",
            "brick.recipe:2: invert does not read roughness=" },
        { HEADER + "material height=2 target=1\n",
            "brick.recipe:2: material does not read target=" },
        { HEADER + "material height=2 height=3\n", "brick.recipe:2: height= is given twice" },
        { HEADER + "invert target=1 height=2\n", "brick.recipe:2: invert does not read height=" },
        // Text from the file is shown short and with control characters escaped.
        { HEADER + "\x1b[2J target=1\n", "brick.recipe:2: unknown operation \"\\x1B[2J\"" },
        { HEADER + "invert target=" + std::string(60, '7') + "\n",
            "brick.recipe:2: target=777777777777777777777777777777777... is outside 1..4" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(errorOf(c.text), c.message) << c.text;
}

TEST(RecipeErrors, RefuseWhatIsNotText)
{
    EXPECT_EQ(errorOf(HEADER + std::string("invert target=1\ninv\0ert target=2\n", 32)),
        "brick.recipe:3: the file is not a text recipe: it holds a NUL byte");
    EXPECT_EQ(errorOf(std::string("quiltor recipe 1\n\n\xC0\xAF\n")),
        "brick.recipe:3: the file is not a text recipe: it holds bytes that are not UTF-8");
    EXPECT_EQ(errorOf(std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16)),
        "brick.recipe:1: the file is not a text recipe: it holds bytes that are not UTF-8");
    // Surrogates and code points past U+10FFFF are not UTF-8 either.
    EXPECT_NE(errorOf(HEADER + "# \xED\xA0\x80\n"), "");
    EXPECT_NE(errorOf(HEADER + "# \xF4\x90\x80\x80\n"), "");
    EXPECT_EQ(errorOf(HEADER + "# caf\xC3\xA9 \xE2\x9C\x93 \xF0\x9F\x8E\xA8\n"), "");
}

TEST(RecipeErrors, LinesUpTo4096BytesOnly)
{
    const std::string longest = "#" + std::string(4095, 'x');
    EXPECT_EQ(errorOf(HEADER + longest + "\ninvert target=1\n"), "");
    EXPECT_EQ(errorOf(HEADER + longest + "\r\n"), "") << "the line break is not counted";
    EXPECT_EQ(
        errorOf(HEADER + "\n" + longest + "x\n"), "brick.recipe:3: line is longer than 4096 bytes");
    EXPECT_EQ(errorOf(HEADER + "invert target=1" + std::string(100000, ' ')),
        "brick.recipe:2: line is longer than 4096 bytes");
}

TEST(RecipeReading, AcceptsCommentsBlankLinesAnyKeyOrderAndWindowsLineBreaks)
{
    EXPECT_EQ(canonical("\xEF\xBB\xBF# brick, by hand\r\n"
                        "\r\n"
                        "   quiltor   recipe 1\r\n"
                        "  # indented comment\n"
                        "\tdeform sizey=4 nrx=1 repeat=2 target=3 sizex=3 nry=2\n"
                        "mix balance=7 source=3 target=2\n"
                        "colorize color2=4,5,6 target=1 color1=1,2,3  \n"
                        "save target=1\n"
                        "redo\n"
                        "save target=4\n"
                        "cells size=5 nr=007 target=1 repeat=1"),
        "quiltor recipe 1\n"
        "deform target=3 nrx=1 nry=2 sizex=3 sizey=4 repeat=2\n"
        "mix target=2 source=3 balance=7\n"
        "colorize target=1 color1=1,2,3 color2=4,5,6\n"
        "redo\n"
        "cells target=1 nr=7 size=5\n"
        "save target=4\n");
}

TEST(RecipeReading, WritingThenReadingGivesTheSameLines)
{
    std::vector<RecipeLine> lines;
    const Step steps[] = {
        makeStep(OPERATION_CELLS, 0, 0, { 1, 200 }, 2),
        makeStep(OPERATION_PLASMA, 1, 0, { 100 }),
        makeStep(OPERATION_PONG, 2, 0, { 5 }, MAX_REPEAT),
        makeStep(OPERATION_SINE, 3, 0, { 0, 99 }),
        makeStep(OPERATION_ADD, 0, 3, {}),
        makeStep(OPERATION_SUB, 1, 2, {}),
        makeStep(OPERATION_MIX, 2, 1, { 256 }),
        makeStep(OPERATION_COPY, 3, 0, {}),
        makeStep(OPERATION_MAX, 0, 0, {}),
        makeStep(OPERATION_COLORIZE, 1, 0, { 0, 255, 1, 254, 2, 253 }),
        makeStep(OPERATION_INVERT, 2, 0, {}, 7),
        makeStep(OPERATION_CLEAR, 3, 0, { 255, 255, 255 }),
        makeStep(OPERATION_MOVE, 0, 0, { -128, 128 }),
        makeStep(OPERATION_DEFORM, 1, 0, { 100, 0, 256, 1 }),
        makeStep(OPERATION_TWIRL, 2, 0, { -128 }),
    };
    for (const Step& step : steps)
        lines.push_back(RecipeLine { LINE_STEP, step, 0 });
    lines.push_back(RecipeLine { LINE_UNDO, Step(), 0 });
    lines.push_back(RecipeLine { LINE_REDO, Step(), 0 });
    lines.push_back(RecipeLine { LINE_SEED, Step(), 4294967295u });
    lines.push_back(RecipeLine { LINE_SEED, Step(), 1 });

    for (int32_t saveSlot : { -1, 2 }) {
        const std::string text = formatRecipe(lines, saveSlot);
        Recipe recipe;
        std::string error;
        ASSERT_TRUE(parseRecipe(text.data(), text.size(), "x", &recipe, &error)) << error;
        ASSERT_EQ(recipe.lines.size(), lines.size());
        for (size_t i = 0; i < lines.size(); ++i)
            EXPECT_TRUE(sameRecipeLine(recipe.lines[i], lines[i])) << formatRecipeLine(lines[i]);
        EXPECT_EQ(recipe.saveSlot, saveSlot);
    }
    EXPECT_EQ(formatRecipeLine(lines[13]), "deform target=2 nrx=100 nry=0 sizex=256 sizey=1");
    EXPECT_EQ(formatRecipeLine(lines[2]), "pong target=3 size=5 repeat=1000000");
}

TEST(RecipeWriting, AContinuedRecipeKeepsTheOpenedTextAndItsLineEnds)
{
    std::vector<RecipeLine> lines(2, RecipeLine { LINE_UNDO, Step(), 0 });
    lines.push_back(RecipeLine { LINE_STEP, makeStep(OPERATION_INVERT, 0, 0, {}), 0 });
    lines.push_back(RecipeLine { LINE_UNDO, Step(), 0 });
    const struct {
        std::string opened;
        std::string added; // after the opened text
    } cases[] = {
        // Comments, blank lines, spacing and the old save line stay; the
        // file's own line ends go on.
        { "\xEF\xBB\xBF# by hand\r\nquiltor  recipe 1\r\n\r\nseed 9\r\n"
          "  invert\ttarget=2 \r\nsave target=2\r\n",
            "invert target=1\r\nundo\r\nsave target=3\r\n" },
        // A last line without its break gets one in the file's style first.
        { "quiltor recipe 1\r\ninvert target=2",
            "\r\ninvert target=1\r\nundo\r\nsave target=3\r\n" },
        { "quiltor recipe 1", "\ninvert target=1\nundo\nsave target=3\n" },
        { "quiltor recipe 1\n# the end", "\ninvert target=1\nundo\nsave target=3\n" },
        // A last line cut short after its "\r" needs only the "\n".
        { "quiltor recipe 1\ninvert target=2\r", "\ninvert target=1\nundo\nsave target=3\n" },
        // Mixed line breaks: the added lines take the first line's.
        { "quiltor recipe 1\ninvert target=2\r\nseed 4\r\n",
            "invert target=1\nundo\nsave target=3\n" },
        { "quiltor recipe 1\r\ninvert target=2\nseed 4\n",
            "invert target=1\r\nundo\r\nsave target=3\r\n" },
    };
    for (const auto& item : cases) {
        const std::string text = formatContinuedRecipe(item.opened, lines, 2, 2);
        EXPECT_EQ(text, item.opened + item.added);
        // The whole reads back as the opened lines and the added ones.
        Recipe opened, continued;
        std::string error;
        ASSERT_TRUE(parseRecipe(item.opened.data(), item.opened.size(), "x", &opened, &error));
        ASSERT_TRUE(parseRecipe(text.data(), text.size(), "x", &continued, &error)) << error;
        ASSERT_EQ(continued.lines.size(), opened.lines.size() + 2);
        EXPECT_TRUE(sameRecipeLine(continued.lines[opened.lines.size()], lines[2]));
        EXPECT_EQ(continued.saveSlot, 2);
    }
    EXPECT_EQ(formatContinuedRecipe("quiltor recipe 1\n", lines, 4, -1), "quiltor recipe 1\n");
}

// The lit view's save names the height slot before the save line; the last
// material line counts, as a whole, and a recipe without one has none.
TEST(RecipeWriting, TheMaterialLineComesBeforeTheSaveAndReadsBack)
{
    const std::vector<RecipeLine> lines(
        1, RecipeLine { LINE_STEP, makeStep(OPERATION_INVERT, 0, 0, {}), 0 });
    MaterialSlots heights;
    heights.height = 3;
    const std::string text = formatRecipe(lines, 0, heights);
    EXPECT_EQ(text, HEADER + "invert target=1\nmaterial height=4\nsave target=1\n");
    heights.height = 2;
    EXPECT_EQ(formatContinuedRecipe("quiltor recipe 1\r\nseed 3\r\n", lines, 0, 1, heights),
        "quiltor recipe 1\r\nseed 3\r\ninvert target=1\r\nmaterial height=3\r\n"
        "save target=2\r\n");
    Recipe recipe;
    std::string error;
    const std::string twice = text + "material height=2\n";
    ASSERT_TRUE(parseRecipe(twice.data(), twice.size(), "x", &recipe, &error)) << error;
    EXPECT_EQ(recipe.material.height, 1);
    EXPECT_EQ(recipe.saveSlot, 0);
    EXPECT_EQ(recipe.lines.size(), 1u) << "a material line is no step";
    ASSERT_TRUE(parseRecipe(HEADER.data(), HEADER.size(), "x", &recipe, &error));
    EXPECT_TRUE(isEmptyMaterial(recipe.material));

    // Every key in any order, written back in a fixed one; a later line
    // with fewer keys replaces the whole material, not only its keys.
    const std::string full = HEADER + "material metallic=1 height=4 roughness=2\n";
    ASSERT_TRUE(parseRecipe(full.data(), full.size(), "x", &recipe, &error)) << error;
    EXPECT_EQ(recipe.material.height, 3);
    EXPECT_EQ(recipe.material.roughness, 1);
    EXPECT_EQ(recipe.material.metallic, 0);
    EXPECT_EQ(formatRecipe(recipe.lines, -1, recipe.material),
        HEADER + "material height=4 roughness=2 metallic=1\n");
    const std::string replaced = full + "material roughness=3\n";
    ASSERT_TRUE(parseRecipe(replaced.data(), replaced.size(), "x", &recipe, &error)) << error;
    EXPECT_EQ(recipe.material.height, -1);
    EXPECT_EQ(recipe.material.roughness, 2);
    EXPECT_EQ(recipe.material.metallic, -1);
    EXPECT_EQ(formatRecipe(recipe.lines, -1, recipe.material), HEADER + "material roughness=3\n");
}

} // namespace
