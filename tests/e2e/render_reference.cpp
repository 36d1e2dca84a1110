// Writes DIRECTORY/slot1.bmp .. slot4.bmp: the four slots after the steps of
// the renderer tests' recipe, done by direct engine calls on textures of side
// SIDE (256 if not given) and saved by the window program's own BMP export.
// The end-to-end tests compare what quiltor-render writes for that recipe
// against these files.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "session/replay.h"
#include "tests/session/slots.h"
#include "texture/bmp_export.h"
#include "texture/random.h"

using testsupport::makeStep;

int main(int argc, char** argv)
{
    if (argc != 2 && argc != 3) {
        fprintf(stderr, "usage: render_reference DIRECTORY [SIDE]\n");
        return 1;
    }
    const int32_t side = argc == 3 ? atoi(argv[2]) : TEXTURE_SIZE;
    if (!isTextureSide(side)) {
        fprintf(stderr, "render_reference: no texture side: %s\n", argv[2]);
        return 1;
    }
    std::vector<Pixel> slots[SLOT_COUNT];
    Pixel* pointers[SLOT_COUNT];
    for (int32_t i = 0; i < SLOT_COUNT; ++i) {
        slots[i].assign(pixelCount(side), EMPTY_PIXEL);
        pointers[i] = slots[i].data();
    }
    randomSeed = 1;
    for (const Step& step : START_UP_STEPS)
        applyStep(pointers, side, step);
    randomSeed = 7;
    applyStep(pointers, side, makeStep(OPERATION_CELLS, 1, 0, { 12, 40 }));
    applyStep(pointers, side, makeStep(OPERATION_PONG, 2, 0, { 90 }));
    applyStep(pointers, side, makeStep(OPERATION_MIX, 1, 2, { 100 }));
    // A twirl, then undone: slot 2 as it was before it.
    std::vector<Pixel> beforeTwirl = slots[1];
    applyStep(pointers, side, makeStep(OPERATION_TWIRL, 1, 0, { 40 }));
    std::copy(beforeTwirl.begin(), beforeTwirl.end(), pointers[1]);
    applyStep(pointers, side, makeStep(OPERATION_DEFORM, 1, 0, { 2, 3, 12, 5 }, 2));
    applyStep(pointers, side, makeStep(OPERATION_COLORIZE, 3, 0, { 40, 10, 0, 250, 200, 120 }));
    for (int32_t i = 0; i < SLOT_COUNT; ++i) {
        std::string name = std::string(argv[1]) + "/slot" + std::to_string(i + 1) + ".bmp";
        if (!saveTextureBmp(pointers[i], side, name.c_str()))
            return 1;
    }
    return 0;
}
