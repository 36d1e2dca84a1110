#include "session/render_plan.h"

#include <algorithm>

#include "session/history.h"
#include "session/replay.h"
#include "texture/random.h"

namespace {

// A step of the start-up or the recipe, or a seed line, in order.
struct Event {
    bool isSeed;
    uint32_t seed;
    Step step;
    bool standing; // the step's result stays: not undone in the end
};

// The start-up steps and the recipe's steps and seeds, each step marked
// with whether it stands once every undo and redo has been followed as the
// history does: fifty steps deep, a new step dropping those that could have
// been redone.
std::vector<Event> eventsOf(const Recipe& recipe, uint32_t variation)
{
    std::vector<Event> events;
    uint64_t startUpDraws = 0;
    for (const Step& step : START_UP_STEPS) {
        events.push_back(Event { false, 0, step, true });
        startUpDraws += randomNumbersDrawn(step);
    }
    if (variation) {
        uint32_t leftBehind = seedAfterSkipping(1, startUpDraws);
        events.push_back(Event { true, variationSeed(variation, leftBehind), Step(), true });
    }
    std::vector<size_t> kept; // the events of the steps the history holds, oldest first
    size_t done = 0;
    for (const RecipeLine& line : recipe.lines) {
        switch (line.kind) {
        case LINE_STEP:
            for (size_t i = done; i < kept.size(); ++i)
                events[kept[i]].standing = false; // could have been redone: dropped
            kept.resize(done);
            if (kept.size() == (size_t)HISTORY_DEPTH)
                kept.erase(kept.begin()); // past undoing: it stands for good
            kept.push_back(events.size());
            events.push_back(Event { false, 0, line.step, true });
            done = kept.size();
            break;
        case LINE_UNDO:
            if (done > 0)
                events[kept[--done]].standing = false;
            break;
        case LINE_REDO:
            if (done < kept.size())
                events[kept[done++]].standing = true;
            break;
        case LINE_SEED: {
            uint32_t seed = variation ? variationSeed(variation, line.seed) : line.seed;
            events.push_back(Event { true, seed, Step(), true });
            break;
        }
        }
    }
    return events;
}

PlannedAction skipAction(uint64_t draws)
{
    return PlannedAction { PLANNED_SKIP, Step(), draws, 0 };
}

} // namespace

uint32_t variationSeed(uint32_t variation, uint32_t seed)
{
    return (uint32_t)(mix64(((uint64_t)variation << 32) | seed) % 4294967295u) + 1;
}

RenderPlan planRender(const Recipe& recipe, int32_t slot, uint32_t variation)
{
    return planRenderOfSlots(recipe, 1u << slot, variation);
}

RenderPlan planRenderOfSlots(const Recipe& recipe, uint32_t slots, uint32_t variation)
{
    const std::vector<Event> events = eventsOf(recipe, variation);
    // Worked out backwards: `needed` holds the slots whose pixels at this
    // point reach the rendered slots.
    std::vector<PlannedAction> backwards;
    uint32_t needed = slots;
    for (size_t i = events.size(); i-- > 0;) {
        const Event& event = events[i];
        if (event.isSeed) {
            backwards.push_back(PlannedAction { PLANNED_SEED, Step(), 0, event.seed });
            continue;
        }
        const Step& step = event.step;
        uint64_t draws = randomNumbersDrawn(step);
        if (!event.standing || !(needed & (1u << step.target))) {
            if (draws > 0)
                backwards.push_back(skipAction(draws));
            continue;
        }
        Step run = step;
        if (!readsTarget(step)) {
            // Only the last application shows; the earlier ones only drew.
            needed &= ~(1u << step.target);
            run.repeat = 1;
        }
        backwards.push_back(PlannedAction { PLANNED_STEP, run, 0, 0 });
        if (run.repeat != step.repeat && draws > 0)
            backwards.push_back(skipAction(draws - randomNumbersDrawn(run)));
        if (readsTarget(step))
            needed |= 1u << step.target;
        if (readsSource(step))
            needed |= 1u << step.source;
    }
    RenderPlan plan;
    plan.actions.push_back(PlannedAction { PLANNED_SEED, Step(), 0, 1 });
    for (size_t i = backwards.size(); i-- > 0;) {
        plan.actions.push_back(backwards[i]);
        plan.stepCount += backwards[i].kind == PLANNED_STEP;
    }
    return plan;
}

uint64_t plannedApplications(const RenderPlan& plan)
{
    uint64_t applications = 0;
    for (const PlannedAction& action : plan.actions)
        if (action.kind == PLANNED_STEP)
            applications += (uint64_t)action.step.repeat;
    return applications;
}

template <class P>
bool runRenderPlan(const RenderPlan& plan, P* const slots[SLOT_COUNT], int32_t side, P* scratch,
    PlanProgress progress, void* context)
{
    int32_t stepIndex = 0;
    for (const PlannedAction& action : plan.actions) {
        switch (action.kind) {
        case PLANNED_SEED:
            randomSeed = action.seed;
            break;
        case PLANNED_SKIP:
            skipRandomNumbers(action.draws);
            break;
        case PLANNED_STEP: {
            Step once = action.step;
            once.repeat = 1;
            for (int32_t application = 0; application < action.step.repeat; ++application) {
                if (progress)
                    progress(context, stepIndex, application);
                if (!applyStep(slots, side, once, scratch))
                    return false;
            }
            ++stepIndex;
            break;
        }
        }
    }
    return true;
}

// The argument is a type, which cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define QUILTOR_RUN_RENDER_PLAN(P)                                                                 \
    template bool runRenderPlan(                                                                   \
        const RenderPlan&, P* const[SLOT_COUNT], int32_t, P*, PlanProgress, void*);
// NOLINTEND(bugprone-macro-parentheses)
QUILTOR_FOR_EACH_PIXEL_TYPE(QUILTOR_RUN_RENDER_PLAN)
