// Four slots of pixels for session tests, and a short way to write a step.
#pragma once

#include <initializer_list>
#include <vector>

#include "session/step.h"
#include "texture/texture.h"

namespace testsupport {

struct Slots {
    std::vector<Pixel> pixels[SLOT_COUNT];
    Pixel* pointers[SLOT_COUNT];

    Slots()
    {
        for (int32_t i = 0; i < SLOT_COUNT; ++i) {
            pixels[i].assign(TEXTURE_PIXEL_COUNT, EMPTY_PIXEL);
            pointers[i] = pixels[i].data();
        }
    }
    Slots(const Slots&) = delete;
    Slots& operator=(const Slots&) = delete;
};

// A step on slot indices 0..3; `values` in the order of the operation's keys.
inline Step makeStep(Operation operation, int32_t target, int32_t source,
    std::initializer_list<int32_t> values, int32_t repeat = 1)
{
    Step step = Step();
    step.operation = operation;
    step.target = target;
    step.source = source;
    int32_t i = 0;
    for (int32_t value : values)
        step.values[i++] = value;
    step.repeat = repeat;
    return step;
}

} // namespace testsupport
