#include "session/step.h"

#include <algorithm>

#include "texture/color_ops.h"
#include "texture/combiners.h"
#include "texture/generators.h"
#include "texture/texture.h"
#include "texture/warps.h"

namespace {

const StepKey COLOR1 = { "color1", 3, COLOR_COMPONENT_RANGE };
const StepKey COLOR2 = { "color2", 3, COLOR_COMPONENT_RANGE };

} // namespace

// The keys are named like the panel's parameters; the deform lists its wave
// counts before its sizes, as the panel does, whatever order the warp takes.
// Generators and Clear overwrite the whole target, Copy too unless its
// source is its target. The costs are rough ratios from the benchmarks.
const OperationInfo OPERATIONS[OPERATION_COUNT] = {
    { "cells", false, false, 12, 2,
        { { "nr", 1, CELL_COUNT_RANGE }, { "size", 1, CELL_SIZE_RANGE } } },
    { "plasma", false, false, 10, 1, { { "variation", 1, PLASMA_VARIATION_RANGE } } },
    { "pong", false, false, 6, 1, { { "size", 1, SPOT_SIZE_RANGE } } },
    { "sine", false, false, 2, 2,
        { { "nrx", 1, SINE_WAVES_RANGE }, { "nry", 1, SINE_WAVES_RANGE } } },
    { "add", true, true, 2, 0, {} },
    { "sub", true, true, 2, 0, {} },
    { "mix", true, true, 2, 1, { { "balance", 1, MIX_BALANCE_RANGE } } },
    { "copy", true, false, 1, 0, {} },
    { "max", true, true, 2, 0, {} },
    { "colorize", false, true, 1, 2, { COLOR1, COLOR2 } },
    { "invert", false, true, 1, 0, {} },
    { "clear", false, false, 1, 1, { COLOR1 } },
    { "move", false, true, 2, 2, { { "x", 1, MOVE_RANGE }, { "y", 1, MOVE_RANGE } } },
    { "deform", false, true, 20, 4,
        { { "nrx", 1, DEFORM_WAVES_RANGE }, { "nry", 1, DEFORM_WAVES_RANGE },
            { "sizex", 1, DEFORM_SIZE_RANGE }, { "sizey", 1, DEFORM_SIZE_RANGE } } },
    { "twirl", false, true, 60, 1, { { "direction", 1, TWIRL_DIRECTION_RANGE } } },
};

int32_t operationValueCount(Operation operation)
{
    const OperationInfo& info = OPERATIONS[operation];
    int32_t count = 0;
    for (int32_t i = 0; i < info.keyCount; ++i)
        count += info.keys[i].valueCount;
    return count;
}

bool sameStepButRepeat(const Step& a, const Step& b)
{
    if (a.operation != b.operation || a.target != b.target)
        return false;
    if (OPERATIONS[a.operation].readsSource && a.source != b.source)
        return false;
    return std::equal(a.values, a.values + operationValueCount(a.operation), b.values);
}

int32_t operationCost(Operation operation)
{
    return OPERATIONS[operation].cost;
}

uint64_t randomNumbersDrawn(const Step& step)
{
    uint64_t once = 0;
    if (step.operation == OPERATION_CELLS)
        once = 2 * (uint64_t)std::clamp(step.values[0], 0, MAX_CELL_POINTS);
    else if (step.operation == OPERATION_PLASMA && step.values[0] > 0)
        once = PLASMA_RANDOM_NUMBERS;
    return once * (uint64_t)std::max(step.repeat, 0);
}

bool readsTarget(const Step& step)
{
    // A copy onto itself leaves the target as it was.
    if (step.operation == OPERATION_COPY)
        return step.source == step.target;
    return OPERATIONS[step.operation].readsTarget;
}

bool readsSource(const Step& step)
{
    return OPERATIONS[step.operation].readsSource;
}

namespace {

// One press of the step's button; false if a warp found no memory.
template <class P>
bool applyOnce(P* const slots[SLOT_COUNT], int32_t side, const Step& step, P* scratch)
{
    P* target = slots[step.target];
    const P* source = slots[step.source];
    const int32_t* v = step.values;
    switch (step.operation) {
    case OPERATION_CELLS:
        generateCells(target, side, v[0], v[1]);
        break;
    case OPERATION_PLASMA:
        // The plasma fills only empty cells, so every run starts from an empty slot.
        std::fill(target, target + pixelCount(side), Depth<P>::EMPTY);
        generatePlasma(target, side, v[0]);
        break;
    case OPERATION_PONG:
        generatePong(target, side, v[0]);
        break;
    case OPERATION_SINE:
        generateSine(target, side, v[0], v[1]);
        break;
    case OPERATION_ADD:
        addTexture(target, source, side);
        break;
    case OPERATION_SUB:
        subtractTexture(target, source, side);
        break;
    case OPERATION_MIX:
        mixTexture(target, source, side, v[0]);
        break;
    case OPERATION_COPY:
        copyTexture(target, source, side);
        break;
    case OPERATION_MAX:
        maxTexture(target, source, side);
        break;
    case OPERATION_COLORIZE:
        colorizeTexture(target, side, v[0], v[1], v[2], v[3], v[4], v[5]);
        break;
    case OPERATION_INVERT:
        invertTexture(target, side);
        break;
    case OPERATION_CLEAR:
        clearTexture(target, side, v[0], v[1], v[2]);
        break;
    case OPERATION_MOVE:
        return moveTexture(target, side, v[0], v[1], scratch);
    case OPERATION_DEFORM:
        // The warp takes each direction's wave count with its size.
        return deformTexture(target, side, v[0], v[2], v[1], v[3], scratch);
    case OPERATION_TWIRL:
        return twirlTexture(target, side, v[0], scratch);
    case OPERATION_COUNT:
        break;
    }
    return true;
}

} // namespace

template <class P>
bool applyStep(P* const slots[SLOT_COUNT], int32_t side, const Step& step, P* scratch)
{
    for (int32_t i = 0; i < step.repeat; ++i)
        if (!applyOnce(slots, side, step, scratch))
            return false;
    return true;
}

// The argument is a type, which cannot stand in parentheses.
// NOLINTBEGIN(bugprone-macro-parentheses)
#define QUILTOR_APPLY_STEP(P)                                                                      \
    template bool applyStep(P* const[SLOT_COUNT], int32_t, const Step&, P*);
// NOLINTEND(bugprone-macro-parentheses)
QUILTOR_FOR_EACH_PIXEL_TYPE(QUILTOR_APPLY_STEP)
