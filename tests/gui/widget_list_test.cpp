#include "gui/widget_list.h"
#include "tests/support/drawing_buffer.h"

#include <gtest/gtest.h>
#include <string>

namespace {

using testsupport::DrawingBuffer;

std::string calls;
void runFirst()
{
    calls += "1";
}
void runSecond()
{
    calls += calls.empty() ? "2 alone" : "2 after " + calls;
}

// Surplus items are deleted at once; the leak checker of the sanitizer build
// reports any that is kept or lost instead.
TEST(WidgetList, KeepsAHundredButtonsAndAHundredAndOneLabels)
{
    WidgetList list;
    for (int i = 0; i < 100; ++i)
        list.addButton(new Button(0, 0, 10, 10, 0x808080, "", 0, nullptr, nullptr));
    list.addButton(new Button(100, 0, 10, 10, 0x808080, "X", 0, runFirst, runFirst));
    EXPECT_EQ(list.buttonCount, 100);

    for (int i = 0; i < 100; ++i)
        list.addLabel(new Label(0, 20, 0xFFFFFF, "A", true));
    list.addLabel(new Label(20, 20, 0xFFFFFF, "B", true));
    list.addLabel(new Label(40, 20, 0xFFFFFF, "C", true));
    EXPECT_EQ(list.labelCount, 101);

    DrawingBuffer drawn(60, 30);
    list.draw(drawn.canvas);
    EXPECT_TRUE(drawn.touched(0, 0, 10, 10));
    EXPECT_TRUE(drawn.touched(20, 20, 6, 8)); // the 101st label
    EXPECT_FALSE(drawn.touched(40, 20, 6, 8)); // the 102nd
    calls.clear();
    list.click(105, 5, true);
    EXPECT_EQ(calls, "");
}

TEST(WidgetList, DrawsLabelsOverButtons)
{
    WidgetList list;
    list.addLabel(new Label(15, 15, 0xFFFFFF, "I", false));
    list.addButton(new Button(10, 10, 30, 20, 0x0000FF, nullptr, 0, nullptr, nullptr));
    DrawingBuffer drawn(60, 40);
    list.draw(drawn.canvas);
    EXPECT_EQ(drawn.at(17, 15), 0xFFFFFFu); // top bar of the "I"
    EXPECT_EQ(drawn.at(15, 15), 0x0000FFu); // beside it the box shows
}

TEST(WidgetList, APressRunsEveryButtonItHitsInInsertionOrder)
{
    WidgetList list;
    list.addButton(new Button(530, 0, 20, 10, 0, "", 0, runFirst, nullptr));
    list.addButton(new Button(550, 0, 20, 10, 0, "", 0, nullptr, runSecond));
    calls.clear();
    list.click(550, 5, true);
    EXPECT_EQ(calls, "12 after 1");
    calls.clear();
    list.click(551, 5, true);
    EXPECT_EQ(calls, "2 alone");
    calls.clear();
    list.click(550, 5, false);
    EXPECT_EQ(calls, "2 alone");
}

// A wrong free of the borrowed texts would be reported by the address
// sanitizer, a missing free of the owned ones by its leak checker.
TEST(WidgetList, ClearFreesOwnedTextsOnlyAndEmptiesTheList)
{
    static char borrowedText[] = "Kept";
    int32_t value = 7;
    WidgetList list;
    list.addLabel(new Label(0, 0, 0, borrowedText, false));
    list.addLabel(new Label(0, 0, 0, "Copied", true));
    list.addLabel(new Label(0, 0, 0, &value));
    list.addButton(new Button(0, 0, 10, 10, 0, "", 0, runFirst, nullptr));
    list.clear();
    EXPECT_EQ(list.buttonCount, 0);
    EXPECT_EQ(list.labelCount, 0);
    EXPECT_STREQ(borrowedText, "Kept");

    calls.clear();
    list.click(5, 5, true);
    EXPECT_EQ(calls, "");
    list.addLabel(new Label(0, 0, 0, borrowedText, false));
    EXPECT_EQ(list.labelCount, 1);
}

} // namespace
