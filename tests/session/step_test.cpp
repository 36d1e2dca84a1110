// A step does exactly what its button does: the same engine calls with the
// same arguments, on the target slot alone.

#include "session/step.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "tests/session/slots.h"
#include "tests/support/random_texture.h"
#include "texture/color_ops.h"
#include "texture/combiners.h"
#include "texture/generators.h"
#include "texture/random.h"
#include "texture/warps.h"

namespace {

using testsupport::makeStep;
using testsupport::Slots;

typedef std::function<void(Pixel* target, const Pixel* source)> DirectCall;

struct DirectCase {
    Step step;
    DirectCall direct;
};

void emptyAndPlasma(Pixel* target, int32_t variation)
{
    std::fill(target, target + TEXTURE_PIXEL_COUNT, EMPTY_PIXEL);
    generatePlasma(target, TEXTURE_SIZE, variation);
}

// Noise in every slot, so a plasma that does not empty its target, a step
// that writes the wrong slot or reads the wrong source shows.
void fillWithNoise(Slots& slots)
{
    for (int32_t i = 0; i < SLOT_COUNT; ++i) {
        const std::vector<Pixel> noise = testsupport::randomTexture(10 + i);
        std::copy(noise.begin(), noise.end(), slots.pointers[i]);
    }
}

// Applies the step to noisy slots and the direct calls `repeat` times to a
// copy, from the same seed; every slot and the seed must agree.
void expectSameAsDirectCalls(const Step& step, const DirectCall& direct, const char* what)
{
    Slots slots;
    fillWithNoise(slots);
    std::vector<Pixel> expected[SLOT_COUNT];
    for (int32_t i = 0; i < SLOT_COUNT; ++i)
        expected[i] = slots.pixels[i];
    randomSeed = 4242;
    for (int32_t i = 0; i < step.repeat; ++i)
        direct(expected[step.target].data(), expected[step.source].data());
    uint32_t seedAfter = randomSeed;

    randomSeed = 4242;
    applyStep(slots.pointers, TEXTURE_SIZE, step);
    for (int32_t i = 0; i < SLOT_COUNT; ++i)
        EXPECT_TRUE(slots.pixels[i] == expected[i]) << what << ", slot " << i;
    EXPECT_EQ(randomSeed, seedAfter) << what;
}

TEST(ApplyStep, EveryOperationMakesItsButtonsEngineCalls)
{
    const DirectCase cases[] = {
        { makeStep(OPERATION_CELLS, 2, 1, { 7, 33 }),
            [](Pixel* t, const Pixel*) { generateCells(t, TEXTURE_SIZE, 7, 33); } },
        { makeStep(OPERATION_PLASMA, 2, 1, { 40 }),
            [](Pixel* t, const Pixel*) { emptyAndPlasma(t, 40); } },
        { makeStep(OPERATION_PONG, 2, 1, { 77 }),
            [](Pixel* t, const Pixel*) { generatePong(t, TEXTURE_SIZE, 77); } },
        { makeStep(OPERATION_SINE, 2, 1, { 3, 8 }),
            [](Pixel* t, const Pixel*) { generateSine(t, TEXTURE_SIZE, 3, 8); } },
        { makeStep(OPERATION_ADD, 2, 1, {}),
            [](Pixel* t, const Pixel* s) { addTexture(t, s, TEXTURE_SIZE); } },
        { makeStep(OPERATION_SUB, 2, 1, {}),
            [](Pixel* t, const Pixel* s) { subtractTexture(t, s, TEXTURE_SIZE); } },
        { makeStep(OPERATION_MIX, 2, 1, { 77 }),
            [](Pixel* t, const Pixel* s) { mixTexture(t, s, TEXTURE_SIZE, 77); } },
        { makeStep(OPERATION_COPY, 2, 1, {}),
            [](Pixel* t, const Pixel* s) { copyTexture(t, s, TEXTURE_SIZE); } },
        { makeStep(OPERATION_MAX, 2, 1, {}),
            [](Pixel* t, const Pixel* s) { maxTexture(t, s, TEXTURE_SIZE); } },
        { makeStep(OPERATION_COLORIZE, 2, 1, { 10, 20, 30, 200, 150, 100 }),
            [](Pixel* t, const Pixel*) {
                colorizeTexture(t, TEXTURE_SIZE, 10, 20, 30, 200, 150, 100);
            } },
        { makeStep(OPERATION_INVERT, 2, 1, {}),
            [](Pixel* t, const Pixel*) { invertTexture(t, TEXTURE_SIZE); } },
        { makeStep(OPERATION_CLEAR, 2, 1, { 10, 20, 30 }),
            [](Pixel* t, const Pixel*) { clearTexture(t, TEXTURE_SIZE, 10, 20, 30); } },
        { makeStep(OPERATION_MOVE, 2, 1, { 5, -3 }),
            [](Pixel* t, const Pixel*) { moveTexture(t, TEXTURE_SIZE, 5, -3); } },
        // Keys nrx, nry, sizex, sizey; the warp takes each wave count with its size.
        { makeStep(OPERATION_DEFORM, 2, 1, { 2, 5, 30, 7 }),
            [](Pixel* t, const Pixel*) { deformTexture(t, TEXTURE_SIZE, 2, 30, 5, 7); } },
        { makeStep(OPERATION_TWIRL, 2, 1, { -50 }),
            [](Pixel* t, const Pixel*) { twirlTexture(t, TEXTURE_SIZE, -50); } },
    };
    ASSERT_EQ(sizeof cases / sizeof cases[0], (size_t)OPERATION_COUNT);
    for (int32_t i = 0; i < OPERATION_COUNT; ++i) {
        ASSERT_EQ(cases[i].step.operation, i);
        expectSameAsDirectCalls(cases[i].step, cases[i].direct, OPERATIONS[i].name);
    }
}

TEST(ApplyStep, RepeatAppliesTheOperationThatManyTimes)
{
    expectSameAsDirectCalls(
        makeStep(OPERATION_TWIRL, 0, 0, { 64 }, 3),
        [](Pixel* t, const Pixel*) { twirlTexture(t, TEXTURE_SIZE, 64); }, "twirl x3");
    // Each cells run draws new points, so two runs leave the second's.
    expectSameAsDirectCalls(
        makeStep(OPERATION_CELLS, 1, 0, { 20, 50 }, 2),
        [](Pixel* t, const Pixel*) { generateCells(t, TEXTURE_SIZE, 20, 50); }, "cells x2");
    // The source changes under a combiner that reads its own target.
    expectSameAsDirectCalls(
        makeStep(OPERATION_ADD, 3, 3, {}, 4),
        [](Pixel* t, const Pixel* s) { addTexture(t, s, TEXTURE_SIZE); }, "add to itself x4");
}

} // namespace
