// The progress line's texts as a recorder sees them: every pass in turn,
// and a share that never falls though the render's state would show less.
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <vector>

#include "render/progress_line.h"
#include "session/recipe.h"
#include "session/render_plan.h"

namespace {

struct Recorded {
    std::mutex lock;
    std::vector<std::string> texts;
};

void record(void* context, const std::string& text)
{
    Recorded& recorded = *(Recorded*)context;
    std::lock_guard<std::mutex> lock(recorded.lock);
    recorded.texts.push_back(text);
}

// The share a text ends with, "..., 42%".
int shareOf(const std::string& text)
{
    return std::stoi(text.substr(text.rfind(", ") + 2));
}

TEST(ProgressLine, RecordsEachReportAndNeverFalls)
{
    const char text[] = "quiltor recipe 1\ntwirl target=1 direction=64 repeat=3\nsave target=1\n";
    Recipe recipe;
    std::string error;
    ASSERT_TRUE(parseRecipe(text, sizeof text - 1, "t.recipe", &recipe, &error)) << error;
    const RenderPlan plan = planRender(recipe, 0);
    Recorded recorded;
    recordProgressLines(record, &recorded);
    ProgressLine line;
    startProgressLine(line, plan, 1024, "t.png", true, pictureKindRow(PICTURE_NORMAL_MAP));
    reportStep(line, 0, 0);
    reportStep(line, 1, 0);
    reportStep(line, 1, 2);
    // A report that comes late, as the share of a finished pass read 0
    // before the next repeat's report: the line stays where it was.
    reportStep(line, 1, 1);
    reportNormalMap(line);
    reportWriting(line);
    reportRowsWritten(line, 512);
    stopProgressLine(line);
    recordProgressLines(nullptr, nullptr);

    std::vector<std::string> reported;
    for (const std::string& text : recorded.texts)
        if (reported.empty() || reported.back() != text)
            reported.push_back(text);
    ASSERT_GE(reported.size(), 6u);
    for (size_t i = 1; i < reported.size(); ++i)
        EXPECT_LE(shareOf(reported[i - 1]), shareOf(reported[i])) << reported[i];
    const std::vector<std::string> passes = { "step 1 of 2: cells", "step 2 of 2: twirl",
        "normal map", "writing t.png, 512 of 1024 rows" };
    size_t next = 0;
    for (const std::string& text : reported)
        if (next < passes.size() && text.find(passes[next]) != std::string::npos)
            ++next;
    EXPECT_EQ(next, passes.size()) << reported.back();
    EXPECT_EQ(reported.back().rfind("quiltor-render: 1024\u00D71024, writing t.png, ", 0), 0u);
}

} // namespace
