// Names as the user sees them: every control byte in a name shown in a
// message is escaped, at both ends of the range, and the picture's name the
// renderer derives from a recipe's name, odd names included.

#include <gtest/gtest.h>
#include <string>

#include "session/recipe_file.h"
#include "session/recipe_text.h"

namespace {

TEST(ShownText, EscapesEveryControlByteAndPassesTheRest)
{
    static const char HEX[] = "0123456789ABCDEF";
    for (int c = 0x01; c < 0x20; ++c) {
        std::string expected = std::string("a\\x") + HEX[c >> 4] + HEX[c & 15] + "b";
        EXPECT_EQ(shownText(std::string("a") + (char)c + "b"), expected) << "byte " << c;
    }
    EXPECT_EQ(shownText(std::string("a\x01", 2)), "a\\x01");
    EXPECT_EQ(shownText(std::string("a\x1F", 2)), "a\\x1F");
    EXPECT_EQ(shownText("a\x7F"
                        "b"),
        "a\\x7Fb");
    EXPECT_EQ(shownText(std::string("\0", 1)), "\\x00");
    // The printable ends and bytes of UTF-8 characters stay as they are.
    EXPECT_EQ(shownText(" ~"), " ~");
    EXPECT_EQ(shownText("\x80\xFF"), "\x80\xFF");
    EXPECT_EQ(shownText("caf\xC3\xA9"), "caf\xC3\xA9");
    EXPECT_EQ(quotedText("\t"), "\"\\x09\"");
}

TEST(BitmapNameForRecipe, DropsTheRecipeSuffixOnlyAtTheEnd)
{
    EXPECT_EQ(bitmapNameForRecipe("brick.recipe"), "brick.bmp");
    EXPECT_EQ(bitmapNameForRecipe(".recipe"), ".bmp");
    EXPECT_EQ(bitmapNameForRecipe("dir/.recipe"), "dir/.bmp");
    EXPECT_EQ(bitmapNameForRecipe("recipe"), "recipe.bmp");
    EXPECT_EQ(bitmapNameForRecipe("a.recipe.txt"), "a.recipe.txt.bmp");
    EXPECT_EQ(bitmapNameForRecipe("a.RECIPE"), "a.RECIPE.bmp");
    EXPECT_EQ(bitmapNameForRecipe(""), ".bmp");
    EXPECT_EQ(bitmapNameForRecipe(".recipe.recipe"), ".recipe.bmp");
}

} // namespace
