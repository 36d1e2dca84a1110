// One press of an operation button, as a record: which operation, on which
// slots, with which values. Applying a step is exactly what the button does.
#pragma once

#include <cstdint>

#include "gfx/canvas.h"
#include "texture/depth.h"

const int32_t SLOT_COUNT = 4;

// Inclusive bounds of a value the user can set.
struct ValueRange {
    int32_t min;
    int32_t max;
};

// The ranges the panel's steppers and colour picker allow, written once for
// the panel and for the recipes. Sizes and the balance reach 256, the signed
// ones run from -128 to +128, the generator's wave counts stop at 99 but the
// deform's at 100.
constexpr ValueRange CELL_COUNT_RANGE = { 1, 99 };
constexpr ValueRange CELL_SIZE_RANGE = { 5, 200 };
constexpr ValueRange PLASMA_VARIATION_RANGE = { 1, 100 };
constexpr ValueRange SPOT_SIZE_RANGE = { 5, 256 };
constexpr ValueRange SINE_WAVES_RANGE = { 0, 99 };
constexpr ValueRange MIX_BALANCE_RANGE = { 0, 256 };
constexpr ValueRange MOVE_RANGE = { -128, 128 };
constexpr ValueRange DEFORM_WAVES_RANGE = { 0, 100 };
constexpr ValueRange DEFORM_SIZE_RANGE = { 0, 256 };
constexpr ValueRange TWIRL_DIRECTION_RANGE = { -128, 128 };
constexpr ValueRange COLOR_COMPONENT_RANGE = { 0, 255 };

// The most times one step may repeat an operation. A held press adds one
// per pass, so this is hours of holding; it keeps recipes bounded.
const int32_t MAX_REPEAT = 1000000;

// The fifteen operation buttons, in the panel's order.
enum Operation {
    OPERATION_CELLS,
    OPERATION_PLASMA,
    OPERATION_PONG,
    OPERATION_SINE,
    OPERATION_ADD,
    OPERATION_SUB,
    OPERATION_MIX,
    OPERATION_COPY,
    OPERATION_MAX,
    OPERATION_COLORIZE,
    OPERATION_INVERT,
    OPERATION_CLEAR,
    OPERATION_MOVE,
    OPERATION_DEFORM,
    OPERATION_TWIRL,
    OPERATION_COUNT
};

const int32_t STEP_VALUE_COUNT = 6;
const int32_t MAX_STEP_KEYS = 4;

// A value an operation reads, by its recipe key: one number, or a colour
// that takes three values (red, green, blue) in a row.
struct StepKey {
    const char* name;
    int32_t valueCount; // 1, or 3 for a colour
    ValueRange range; // of each value
};

// What an operation reads, what it costs and the values it takes.
struct OperationInfo {
    const char* name; // in recipes
    bool readsSource;
    bool readsTarget; // its result depends on what the target held
    int32_t cost; // one application, in units of inverting the same texture
    int32_t keyCount;
    StepKey keys[MAX_STEP_KEYS]; // in the order recipes write them
};

extern const OperationInfo OPERATIONS[OPERATION_COUNT];

// How many of a step's values the operation reads: its keys' values together.
int32_t operationValueCount(Operation operation);

struct Step {
    Operation operation;
    int32_t target; // slot index 0..3
    int32_t source; // slot index 0..3; only the combiners read it
    int32_t values[STEP_VALUE_COUNT]; // in the order of the operation's keys
    int32_t repeat; // 1..MAX_REPEAT applications in a row
};

// True when both steps do the same thing once: same operation, slots and
// values read. The repeat and the fields the operation ignores do not count.
bool sameStepButRepeat(const Step& a, const Step& b);

// Applies the step's operation `repeat` times to the target slot, exactly as
// its button does: the same engine calls with the same arguments, on slots
// of side `side` (the window's are TEXTURE_SIZE) at the depth of their
// pixels (the window's are Pixel; see depth.h). The warps work in `scratch`,
// a texture of that side and depth, or in one of their own when it is null.
// False if a warp found no memory for that; the slot then holds the
// applications done before it.
template <class P>
bool applyStep(P* const slots[SLOT_COUNT], int32_t side, const Step& step, P* scratch = nullptr);

// What one application of the step costs, roughly, in units of inverting
// the same texture: for telling how far a long render has got.
int32_t operationCost(Operation operation);

// How many random numbers the step draws, all its applications together:
// Cells two per point, Plasma 65,535 at every side.
uint64_t randomNumbersDrawn(const Step& step);

// True when the step's result depends on what its target held before, and
// when it reads its source: which slots must be right for it to come out right.
bool readsTarget(const Step& step);
bool readsSource(const Step& step);
