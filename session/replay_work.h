// How far a replay has got, in the units of the operations' costs: the
// running totals that the window's replay box and the renderer's progress
// line both show, the step text they share, and when they start showing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "session/recipe.h"
#include "session/render_plan.h"

// A replay shorter than this shows no progress: it would only flicker.
const int32_t SHOW_PROGRESS_AFTER_MS = 500;

// A replay's steps with the work before each. It points into the recipe or
// plan it was made from, which must outlive it.
struct ReplayWork {
    std::vector<const Step*> steps; // in order
    std::vector<double> workBefore; // of the steps before each, and in all at the end
};

// The steps of a recipe, and the work before each.
ReplayWork workOfRecipe(const Recipe& recipe);

// The steps a render plan runs, and the work before each.
ReplayWork workOfPlan(const RenderPlan& plan);

// The work of the whole replay.
double totalWork(const ReplayWork& work);

// The work done once step `step` has run `applications` of its repeats; a
// fraction counts the share done of the one running.
double workDone(const ReplayWork& work, int32_t step, double applications);

// "<word> 3 of 7: plasma": which step of how many is running, after "Step"
// at the start of a line or "step" within one.
void formatStepOfSteps(
    char* text, size_t size, const char* word, const ReplayWork& work, int32_t step);
