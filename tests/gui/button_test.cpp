#include "gfx/font.h"
#include "gfx/primitives.h"
#include "gfx/text.h"
#include "gui/button.h"
#include "tests/support/drawing_buffer.h"

#include <cstring>
#include <gtest/gtest.h>
#include <string>

namespace {

using testsupport::DrawingBuffer;

std::string calls;
void runLeft()
{
    calls += "L";
}
void runOther()
{
    calls += "O";
}

TEST(Button, CaptionIsCopiedAndCutAt255Characters)
{
    char source[] = "Cells";
    Button button(0, 0, 20, 20, 0, source, 0, nullptr, nullptr);
    source[0] = 'X';
    EXPECT_STREQ(button.caption, "Cells");

    std::string longCaption(300, 'A');
    Button longButton(0, 0, 20, 20, 0, longCaption.c_str(), 0, nullptr, nullptr);
    EXPECT_EQ(std::strlen(longButton.caption), 255u);

    Button noCaption(0, 0, 20, 20, 0, nullptr, 0, nullptr, nullptr);
    EXPECT_STREQ(noCaption.caption, "");
}

TEST(Button, DrawsAPanelWithTheCaptionFiveInAndCentred)
{
    DrawingBuffer drawn(80, 40);
    Button button(10, 10, 40, 19, 0x808080, "Add", 0xFFFF00, nullptr, nullptr);
    button.draw(drawn.canvas);

    DrawingBuffer expected(80, 40);
    drawFilledPanel(expected.canvas, 10, 10, 40, 19, 0x808080);
    drawText(expected.canvas, 15, 15, font6x8, "Add", 0xFFFF00); // 10 + 19 / 2 - 4
    EXPECT_EQ(drawn.buffer, expected.buffer);

    DrawingBuffer blank(80, 40);
    Button noCaption(10, 10, 40, 19, 0x808080, nullptr, 0xFFFF00, nullptr, nullptr);
    noCaption.draw(blank.canvas);
    drawFilledPanel(expected.canvas, 10, 10, 40, 19, 0x808080);
    EXPECT_EQ(blank.buffer, expected.buffer);

    button.setColor(0x0000FF);
    button.draw(drawn.canvas);
    EXPECT_EQ(drawn.at(20, 24), 0x0000FFu);
}

TEST(Button, HitAreaIsInclusiveOnAllFourEdges)
{
    Button button(530, 100, 20, 15, 0, "1", 0, nullptr, runOther);
    const int32_t hits[][2] = { { 530, 100 }, { 550, 115 }, { 540, 107 }, { 550, 100 } };
    const int32_t misses[][2] = { { 529, 107 }, { 540, 99 }, { 551, 107 }, { 540, 116 } };
    for (const auto& point : hits) {
        calls.clear();
        button.click(point[0], point[1], true);
        EXPECT_EQ(calls, "O") << point[0] << "," << point[1];
    }
    for (const auto& point : misses) {
        calls.clear();
        button.click(point[0], point[1], true);
        EXPECT_EQ(calls, "") << point[0] << "," << point[1];
    }
}

TEST(Button, RunsAtMostOneCommandChosenByTheMouseButton)
{
    struct Case {
        Command onLeftClick;
        Command onClick;
        bool leftClick;
        const char* runs;
    };
    const Case cases[] = {
        { runLeft, runOther, true, "L" },
        { runLeft, nullptr, true, "L" },
        { nullptr, runOther, true, "O" },
        { nullptr, nullptr, true, "" },
        { runLeft, runOther, false, "O" },
        { nullptr, runOther, false, "O" },
        { runLeft, nullptr, false, "" },
    };
    for (const Case& c : cases) {
        Button button(0, 0, 10, 10, 0, "", 0, c.onLeftClick, c.onClick);
        calls.clear();
        button.click(5, 5, c.leftClick);
        EXPECT_EQ(calls, c.runs) << (c.onLeftClick != nullptr) << (c.onClick != nullptr)
                                 << c.leftClick;
    }
}

} // namespace
