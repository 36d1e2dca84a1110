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
const OperationInfo OPERATIONS[OPERATION_COUNT] = {
    { "cells", false, 2, { { "nr", 1, CELL_COUNT_RANGE }, { "size", 1, CELL_SIZE_RANGE } } },
    { "plasma", false, 1, { { "variation", 1, PLASMA_VARIATION_RANGE } } },
    { "pong", false, 1, { { "size", 1, SPOT_SIZE_RANGE } } },
    { "sine", false, 2, { { "nrx", 1, SINE_WAVES_RANGE }, { "nry", 1, SINE_WAVES_RANGE } } },
    { "add", true, 0, {} },
    { "sub", true, 0, {} },
    { "mix", true, 1, { { "balance", 1, MIX_BALANCE_RANGE } } },
    { "copy", true, 0, {} },
    { "max", true, 0, {} },
    { "colorize", false, 2, { COLOR1, COLOR2 } },
    { "invert", false, 0, {} },
    { "clear", false, 1, { COLOR1 } },
    { "move", false, 2, { { "x", 1, MOVE_RANGE }, { "y", 1, MOVE_RANGE } } },
    { "deform", false, 4,
        { { "nrx", 1, DEFORM_WAVES_RANGE }, { "nry", 1, DEFORM_WAVES_RANGE },
            { "sizex", 1, DEFORM_SIZE_RANGE }, { "sizey", 1, DEFORM_SIZE_RANGE } } },
    { "twirl", false, 1, { { "direction", 1, TWIRL_DIRECTION_RANGE } } },
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

namespace {

// One press of the step's button.
void applyOnce(Pixel* const slots[SLOT_COUNT], const Step& step)
{
    Pixel* target = slots[step.target];
    const int32_t* v = step.values;
    switch (step.operation) {
    case OPERATION_CELLS:
        generateCells(target, v[0], v[1]);
        break;
    case OPERATION_PLASMA:
        // The plasma fills only empty cells, so every run starts from an empty slot.
        std::fill(target, target + TEXTURE_PIXEL_COUNT, EMPTY_PIXEL);
        generatePlasma(target, v[0]);
        break;
    case OPERATION_PONG:
        generatePong(target, v[0]);
        break;
    case OPERATION_SINE:
        generateSine(target, v[0], v[1]);
        break;
    case OPERATION_ADD:
        addTexture(target, slots[step.source]);
        break;
    case OPERATION_SUB:
        subtractTexture(target, slots[step.source]);
        break;
    case OPERATION_MIX:
        mixTexture(target, slots[step.source], v[0]);
        break;
    case OPERATION_COPY:
        copyTexture(target, slots[step.source]);
        break;
    case OPERATION_MAX:
        maxTexture(target, slots[step.source]);
        break;
    case OPERATION_COLORIZE:
        colorizeTexture(target, v[0], v[1], v[2], v[3], v[4], v[5]);
        break;
    case OPERATION_INVERT:
        invertTexture(target);
        break;
    case OPERATION_CLEAR:
        clearTexture(target, v[0], v[1], v[2]);
        break;
    case OPERATION_MOVE:
        moveTexture(target, v[0], v[1]);
        break;
    case OPERATION_DEFORM:
        // The warp takes each direction's wave count with its size.
        deformTexture(target, v[0], v[2], v[1], v[3]);
        break;
    case OPERATION_TWIRL:
        twirlTexture(target, v[0]);
        break;
    case OPERATION_COUNT:
        break;
    }
}

} // namespace

void applyStep(Pixel* const slots[SLOT_COUNT], const Step& step)
{
    for (int32_t i = 0; i < step.repeat; ++i)
        applyOnce(slots, step);
}
