// The renderer's option declarations against the table of picture kinds,
// and each range at its ends as the readers take it and the help shows it.
#include <cstring>
#include <gtest/gtest.h>
#include <string>

#include "render/option_readers.h"
#include "render/options.h"
#include "render/picture_kind.h"

namespace {

bool hasRange(const OptionDeclaration& option)
{
    return option.range.least != 0 || option.range.most != 0;
}

TEST(RenderOptions, EveryKindOfPictureButTheDefaultIsAFlagThatSetsIt)
{
    for (const PictureKindRow& row : PICTURE_KINDS) {
        if (!row.option)
            continue;
        SCOPED_TRACE(row.option);
        const int32_t index = optionIndex(row.option);
        ASSERT_LT(index, OPTION_COUNT);
        EXPECT_EQ(OPTIONS[index].value, nullptr);
        CommandOptions options;
        std::string problem;
        EXPECT_TRUE(OPTIONS[index].read(OPTIONS[index], nullptr, &options, &problem));
        EXPECT_EQ(options.render.picture, row.kind);
    }
    EXPECT_EQ(CommandOptions().render.picture, PICTURE_COLORS);
}

TEST(RenderOptions, ARangeIsTakenToItsEndsAndShownInTheHelpAndTheMessage)
{
    int32_t ranged = 0;
    for (int32_t i = 0; i < OPTION_COUNT; ++i) {
        const OptionDeclaration& option = OPTIONS[i];
        SCOPED_TRACE(option.name);
        const bool marked = strstr(option.help, RANGE_MARK) != nullptr;
        if (!hasRange(option)) {
            EXPECT_FALSE(marked);
            continue;
        }
        ++ranged;
        const std::string range = rangeText(option.range);
        for (int64_t value : { option.range.least, option.range.most }) {
            CommandOptions options;
            std::string problem;
            EXPECT_TRUE(option.read(option, std::to_string(value).c_str(), &options, &problem))
                << value << ": " << problem;
        }
        for (int64_t value : { option.range.least - 1, option.range.most + 1 }) {
            CommandOptions options;
            std::string problem;
            const std::string text = std::to_string(value);
            EXPECT_FALSE(option.read(option, text.c_str(), &options, &problem)) << value;
            EXPECT_NE(problem.find(" " + range + ", not '" + text + "'"), std::string::npos)
                << problem;
        }
        if (marked) {
            EXPECT_NE(helpText().find("(" + range + ")"), std::string::npos);
        }
    }
    // --slot, --height-slot, --threads, --max-steps and --seed.
    EXPECT_EQ(ranged, 5);
    EXPECT_EQ(helpText().find(RANGE_MARK), std::string::npos);
}

} // namespace
