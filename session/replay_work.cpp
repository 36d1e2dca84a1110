#include "session/replay_work.h"

#include <cstdio>

namespace {

// Appends a step; its work is its cost once per repeat. The totals are
// whole numbers, so the sums are exact in a double.
void addStep(ReplayWork& work, const Step& step)
{
    work.steps.push_back(&step);
    work.workBefore.push_back(
        work.workBefore.back() + (double)operationCost(step.operation) * step.repeat);
}

} // namespace

ReplayWork workOfRecipe(const Recipe& recipe)
{
    ReplayWork work;
    work.workBefore.push_back(0);
    for (const RecipeLine& line : recipe.lines)
        if (line.kind == LINE_STEP)
            addStep(work, line.step);
    return work;
}

ReplayWork workOfPlan(const RenderPlan& plan)
{
    ReplayWork work;
    work.workBefore.push_back(0);
    for (const PlannedAction& action : plan.actions)
        if (action.kind == PLANNED_STEP)
            addStep(work, action.step);
    return work;
}

double totalWork(const ReplayWork& work)
{
    return work.workBefore.back();
}

double workDone(const ReplayWork& work, int32_t step, double applications)
{
    return work.workBefore[step]
        + (double)operationCost(work.steps[step]->operation) * applications;
}

void formatStepOfSteps(
    char* text, size_t size, const char* word, const ReplayWork& work, int32_t step)
{
    snprintf(text, size, "%s %d of %d: %s", word, (int)step + 1, (int)work.steps.size(),
        OPERATIONS[work.steps[step]->operation].name);
}
