// Writes DIRECTORY/slot1.bmp .. slot4.bmp: the four slots after the steps of
// the renderer tests' recipe, done by direct engine calls and saved by the
// window program's own BMP export. The end-to-end tests compare what
// quiltor-render writes for that recipe against these files.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "session/replay.h"
#include "tests/session/slots.h"
#include "texture/bmp_export.h"
#include "texture/random.h"

using testsupport::makeStep;

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: render_reference DIRECTORY\n");
        return 1;
    }
    testsupport::Slots slots;
    resetToStartUp(slots.pointers);
    randomSeed = 7;
    applyStep(slots.pointers, TEXTURE_SIZE, makeStep(OPERATION_CELLS, 1, 0, { 12, 40 }));
    applyStep(slots.pointers, TEXTURE_SIZE, makeStep(OPERATION_PONG, 2, 0, { 90 }));
    applyStep(slots.pointers, TEXTURE_SIZE, makeStep(OPERATION_MIX, 1, 2, { 100 }));
    // A twirl, then undone: slot 2 as it was before it.
    std::vector<Pixel> beforeTwirl = slots.pixels[1];
    applyStep(slots.pointers, TEXTURE_SIZE, makeStep(OPERATION_TWIRL, 1, 0, { 40 }));
    std::copy(beforeTwirl.begin(), beforeTwirl.end(), slots.pointers[1]);
    applyStep(slots.pointers, TEXTURE_SIZE, makeStep(OPERATION_DEFORM, 1, 0, { 2, 3, 12, 5 }, 2));
    applyStep(slots.pointers, TEXTURE_SIZE,
        makeStep(OPERATION_COLORIZE, 3, 0, { 40, 10, 0, 250, 200, 120 }));
    for (int32_t i = 0; i < SLOT_COUNT; ++i) {
        std::string name = std::string(argv[1]) + "/slot" + std::to_string(i + 1) + ".bmp";
        if (!saveTextureBmp(slots.pointers[i], TEXTURE_SIZE, name.c_str()))
            return 1;
    }
    return 0;
}
