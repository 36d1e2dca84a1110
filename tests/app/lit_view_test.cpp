// The lit view, by its key L: the material of the target slot's colours,
// the source slot's heights and the reopened recipe's roughness and metallic
// slots, lit from the upper left, four times edge to edge. It shares the
// slot area with the tiled view and is only a view: no slot, step or file
// changes with it.

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/lit_view.h"
#include "tests/app/application_fixture.h"
#include "texture/occlusion_map.h"

using testsupport::ApplicationTest;
using testsupport::InScratchDirectory;

namespace {

const int INVERT[2] = { 620, 360 };
const int CLEAR[2] = { 680, 360 };
const int TARGET_1[2] = { 535, 20 };
const int TARGET_2[2] = { 555, 20 };
const int SOURCE_1[2] = { 605, 20 };
const int SOURCE_2[2] = { 625, 20 };
const int SOURCE_3[2] = { 605, 40 };
const int SOURCE_4[2] = { 625, 40 };

// Where the lit and tiled views put the top-left pixel of their first tile.
const int VIEW_ORIGIN = 7;
const int VIEW_SIDE = 2 * TEXTURE_SIZE;

class LitView : public ApplicationTest {
protected:
    void press(const int point[2]) { click(point[0], point[1]); }

    // The 512x512 pixels the tiled and lit views draw into, as last rendered.
    static std::vector<Pixel> viewPixels()
    {
        std::vector<Pixel> shown;
        for (int y = 0; y < VIEW_SIDE; ++y)
            for (int x = 0; x < VIEW_SIDE; ++x)
                shown.push_back(screenPixel(VIEW_ORIGIN + x, VIEW_ORIGIN + y));
        return shown;
    }

    // The slot area with its frames and the background round them.
    static std::vector<Pixel> shownSlotArea()
    {
        std::vector<Pixel> shown;
        for (int y = 0; y < 530; ++y)
            for (int x = 0; x < 530; ++x)
                shown.push_back(screenPixel(x, y));
        return shown;
    }

    static void fill(int slot, Pixel (*pixelAt)(int x, int y))
    {
        Pixel* pixels = slots[slot]->getPixels();
        for (int y = 0; y < TEXTURE_SIZE; ++y)
            for (int x = 0; x < TEXTURE_SIZE; ++x)
                pixels[y * TEXTURE_SIZE + x] = pixelAt(x, y);
    }
};

// The grey of a triangle wave over one axis: rising 2 levels a pixel over
// 0..127, falling back over 128..255, so it wraps without a jump.
Pixel triangle(int at)
{
    int level = at < 128 ? 2 * at : 2 * (255 - at);
    return (Pixel)level * 0x010101u;
}

const Pixel FLAT_COLOR = 0xFF8040;

// A channel's level, 0 red, 1 green, 2 blue.
int channel(Pixel pixel, int c)
{
    return (int)((pixel >> (16 - 8 * c)) & 0xFF);
}

// The 256x256 lit picture as the view's rule gives it, from the engine's
// maps: the heights' normals and occlusion at the default relief, each
// map's value its luma, no roughness map fully rough, no metallic map not
// metal, 8-bit levels taken as linear and rounded to nearest.
std::vector<Pixel> litPicture(
    const Pixel* colors, const Pixel* heights, const Pixel* roughness, const Pixel* metallic)
{
    std::vector<UnitNormal> normals(TEXTURE_PIXEL_COUNT);
    std::vector<Pixel> occlusion(TEXTURE_PIXEL_COUNT);
    generateUnitNormals(heights, TEXTURE_SIZE, NormalOptions(), normals.data());
    generateOcclusionMap(heights, TEXTURE_SIZE, DEFAULT_RELIEF, occlusion.data());
    std::vector<Pixel> picture(TEXTURE_PIXEL_COUNT);
    for (int i = 0; i < TEXTURE_PIXEL_COUNT; ++i) {
        const LinearColor base { channel(colors[i], 0) / 255.0, channel(colors[i], 1) / 255.0,
            channel(colors[i], 2) / 255.0 };
        const LinearColor lit = lightMaterial(base, normals[i], (occlusion[i] & 0xFF) / 255.0,
            roughness ? heightOf(roughness[i]) : 1.0, metallic ? heightOf(metallic[i]) : 0.0,
            litViewLight());
        Pixel pixel = 0;
        for (double value : { lit.red, lit.green, lit.blue })
            pixel = pixel << 8 | (value >= 1.0 ? 255 : (Pixel)std::floor(value * 255.0 + 0.5));
        picture[i] = pixel;
    }
    return picture;
}

// The view's pixels against the picture, tiled, pixel by pixel.
void expectShown(const std::vector<Pixel>& shown, const std::vector<Pixel>& picture)
{
    for (int y = 0; y < VIEW_SIDE; ++y)
        for (int x = 0; x < VIEW_SIDE; ++x)
            ASSERT_EQ(shown[y * VIEW_SIDE + x],
                picture[(y % TEXTURE_SIZE) * TEXTURE_SIZE + x % TEXTURE_SIZE])
                << x << "," << y;
}

TEST_F(LitView, LAndTEachShowTheirViewOrTheFourSlotsAgain)
{
    runPass(loop);
    std::vector<Pixel> fourSlots = shownSlotArea();
    typeKey(SDLK_l);
    EXPECT_EQ(slotArea, SlotArea::LIT);
    EXPECT_NE(shownSlotArea(), fourSlots);
    typeKey(SDLK_l, KMOD_LSHIFT);
    EXPECT_EQ(slotArea, SlotArea::FOUR_SLOTS);
    EXPECT_EQ(shownSlotArea(), fourSlots);

    // From one view the other's key goes straight to the other view.
    typeKey(SDLK_l);
    typeKey(SDLK_t);
    EXPECT_EQ(slotArea, SlotArea::TILED);
    typeKey(SDLK_l);
    EXPECT_EQ(slotArea, SlotArea::LIT);
    typeKey(SDLK_l);
    EXPECT_EQ(slotArea, SlotArea::FOUR_SLOTS);

    // Ctrl, Alt or Meta with L is not the lit view's key.
    for (SDLMod modifiers :
        { KMOD_LCTRL, KMOD_LALT, KMOD_LMETA, (SDLMod)(KMOD_LCTRL | KMOD_LSHIFT) }) {
        typeKey(SDLK_l, modifiers);
        EXPECT_EQ(slotArea, SlotArea::FOUR_SLOTS) << "modifiers " << modifiers;
    }
}

// A flat, fully rough, non-metal surface under the open sky shows its
// colours nearly as they are: each channel at most two levels lighter,
// white still white, the frame round them the tiled view's.
TEST_F(LitView, AFlatSourceShowsTheTargetNearlyAsTheTiledViewDoes)
{
    press(TARGET_2);
    press(CLEAR); // slot 2: one flat red
    press(TARGET_1);
    press(SOURCE_2);
    typeKey(SDLK_t);
    std::vector<Pixel> tiled = shownSlotArea();
    typeKey(SDLK_l);
    std::vector<Pixel> lit = shownSlotArea();
    int gains[3] = { 0, 0, 0 };
    for (int y = 0; y < 530; ++y)
        for (int x = 0; x < 530; ++x) {
            const Pixel was = tiled[y * 530 + x];
            const Pixel is = lit[y * 530 + x];
            const bool inView = x >= VIEW_ORIGIN && x < VIEW_ORIGIN + VIEW_SIDE && y >= VIEW_ORIGIN
                && y < VIEW_ORIGIN + VIEW_SIDE;
            if (!inView) {
                ASSERT_EQ(is, was) << x << "," << y;
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                const int gain = channel(is, c) - channel(was, c);
                ASSERT_GE(gain, 0) << x << "," << y;
                ASSERT_LE(gain, channel(was, c) == 255 ? 0 : 2) << x << "," << y;
                gains[c] = std::max(gains[c], gain);
            }
        }
    EXPECT_EQ(std::max({ gains[0], gains[1], gains[2] }), 2)
        << "dark channels gain the dielectric's specular light";
}

TEST_F(LitView, SlopesFacingTheUpperLeftAreBrighterAndFullChannelsStayFull)
{
    fill(0, [](int, int) { return FLAT_COLOR; });
    fill(1, [](int x, int) { return triangle(x); });
    fill(2, [](int, int y) { return triangle(y); });
    fill(3, [](int, int) { return (Pixel)0x808080; });
    press(SOURCE_4);
    typeKey(SDLK_l);
    const Pixel flat = screenPixel(VIEW_ORIGIN + 10, VIEW_ORIGIN + 10);

    // Heights rising to the right face left, towards the light; falling,
    // away from it.
    press(SOURCE_2);
    for (int y : { 0, 100, 300 }) {
        const Pixel rising = screenPixel(VIEW_ORIGIN + 60, VIEW_ORIGIN + y);
        const Pixel falling = screenPixel(VIEW_ORIGIN + 190, VIEW_ORIGIN + y);
        EXPECT_EQ(rising >> 16, 255u) << "a full channel stays full, not wrapped";
        EXPECT_GT(rising & 0xFFFF, flat & 0xFFFF);
        EXPECT_LT(falling, flat);
        EXPECT_EQ(screenPixel(VIEW_ORIGIN + 256 + 60, VIEW_ORIGIN + y), rising);
    }

    // Heights rising downwards face up, towards the light.
    press(SOURCE_3);
    Pixel up = screenPixel(VIEW_ORIGIN + 30, VIEW_ORIGIN + 60);
    Pixel down = screenPixel(VIEW_ORIGIN + 30, VIEW_ORIGIN + 256 + 190);
    EXPECT_GT(up & 0xFFFF, flat & 0xFFFF);
    EXPECT_LT(down, flat);
}

// Every pixel of a fresh session's lit view, with colours and heights that
// vary everywhere: a fully rough dielectric in the occlusion of its heights.
TEST_F(LitView, EveryPixelIsTheMaterialsLightRoundedToNearest)
{
    fill(0, [](int x, int y) {
        return (Pixel)((x * 7 + y) & 0xFF) << 16 | (Pixel)(y * 5 & 0xFF) << 8 | (Pixel)(x ^ y);
    });
    fill(1, [](int x, int y) { return (Pixel)((x * x / 3 + y * 9) & 0xFF) * 0x010101u; });
    press(SOURCE_2);
    typeKey(SDLK_l);
    std::vector<Pixel> occlusion(TEXTURE_PIXEL_COUNT);
    generateOcclusionMap(slots[1]->getPixels(), TEXTURE_SIZE, DEFAULT_RELIEF, occlusion.data());
    EXPECT_GT(
        std::count_if(occlusion.begin(), occlusion.end(), [](Pixel p) { return p < 0xF0F0F0; }),
        1000)
        << "heights that shade the sky";
    expectShown(
        viewPixels(), litPicture(slots[0]->getPixels(), slots[1]->getPixels(), nullptr, nullptr));
}

// A reopened recipe's material line names the roughness and metallic slots
// the view reads; the view follows their changes, and a new session has
// neither again.
TEST_F(LitView, RoughnessAndMetallicComeFromTheReopenedMaterialsSlots)
{
    InScratchDirectory scratch;
    FILE* file = fopen("metal.recipe", "wb");
    ASSERT_NE(file, nullptr);
    fputs("quiltor recipe 1\nmaterial height=2 roughness=3 metallic=4\n", file);
    fclose(file);
    ASSERT_EQ(reopen("metal.recipe"), GO_ON);
    fill(0, [](int x, int y) { return (Pixel)(x << 16 | y << 8 | 0x60); });
    fill(1, [](int x, int y) { return (Pixel)(((x + 2 * y) * 3 & 0xFF) * 0x010101u); });
    fill(2, [](int x, int) { return (Pixel)x * 0x010101u; }); // smooth at the left
    fill(3, [](int, int y) { return (Pixel)((y / 16) % 2 * 0xFFFFFF); }); // metal stripes
    press(TARGET_1);
    press(SOURCE_2);
    typeKey(SDLK_l);
    const Pixel* colors = slots[0]->getPixels();
    const Pixel* heights = slots[1]->getPixels();
    const std::vector<Pixel> shown = viewPixels();
    expectShown(shown, litPicture(colors, heights, slots[2]->getPixels(), slots[3]->getPixels()));
    const std::vector<Pixel> swapped
        = litPicture(colors, heights, slots[3]->getPixels(), slots[2]->getPixels());
    std::vector<Pixel> firstTile;
    for (int y = 0; y < TEXTURE_SIZE; ++y)
        for (int x = 0; x < TEXTURE_SIZE; ++x)
            firstTile.push_back(shown[y * VIEW_SIDE + x]);
    EXPECT_NE(firstTile, swapped) << "roughness and metallic each from its own slot";
    EXPECT_NE(firstTile, litPicture(colors, heights, nullptr, nullptr)) << "not the matte default";

    // A change of the roughness slot shows at once.
    fill(2, [](int, int) { return (Pixel)0x202020; });
    loop.redrawNeeded = true;
    runPass(loop);
    expectShown(
        viewPixels(), litPicture(colors, heights, slots[2]->getPixels(), slots[3]->getPixels()));

    // A recipe without a material line has neither map: fully rough, not
    // metal.
    file = fopen("plain.recipe", "wb");
    ASSERT_NE(file, nullptr);
    fputs("quiltor recipe 1\n", file);
    fclose(file);
    ASSERT_EQ(reopen("plain.recipe"), GO_ON);
    fill(0, [](int x, int y) { return (Pixel)(x << 16 | y << 8 | 0x60); });
    fill(1, [](int x, int y) { return (Pixel)(((x + 2 * y) * 3 & 0xFF) * 0x010101u); });
    press(TARGET_1);
    press(SOURCE_2);
    typeKey(SDLK_l);
    expectShown(
        viewPixels(), litPicture(slots[0]->getPixels(), slots[1]->getPixels(), nullptr, nullptr));
}

TEST_F(LitView, TheViewIsTiledAndFollowsEveryChangeOfItsSlots)
{
    typeKey(SDLK_l);
    std::vector<Pixel> cellsOnCells = viewPixels();
    for (int y = 0; y < TEXTURE_SIZE; ++y)
        for (int x = 0; x < TEXTURE_SIZE; ++x) {
            Pixel pixel = cellsOnCells[y * VIEW_SIDE + x];
            ASSERT_EQ(cellsOnCells[y * VIEW_SIDE + x + 256], pixel) << x << "," << y;
            ASSERT_EQ(cellsOnCells[(y + 256) * VIEW_SIDE + x], pixel) << x << "," << y;
            ASSERT_EQ(cellsOnCells[(y + 256) * VIEW_SIDE + x + 256], pixel) << x << "," << y;
        }

    press(SOURCE_2);
    std::vector<Pixel> cellsOnPlasma = viewPixels();
    EXPECT_NE(cellsOnPlasma, cellsOnCells) << "a new source, a new relief";
    press(TARGET_2);
    std::vector<Pixel> plasmaOnPlasma = viewPixels();
    EXPECT_NE(plasmaOnPlasma, cellsOnPlasma) << "a new target, new colours";
    press(INVERT);
    EXPECT_NE(viewPixels(), plasmaOnPlasma) << "an operation shows at once";
    typeKey(SDLK_z, KMOD_LCTRL);
    EXPECT_EQ(viewPixels(), plasmaOnPlasma) << "and so does its undo";
    press(TARGET_1);
    EXPECT_EQ(viewPixels(), cellsOnPlasma);
    press(SOURCE_1);
    EXPECT_EQ(viewPixels(), cellsOnCells);
}

TEST_F(LitView, LChangesNoSlotStepOrSavedFile)
{
    InScratchDirectory scratch;
    std::vector<Pixel> original = slotPixels(0);
    press(INVERT);
    std::vector<Pixel> before[SLOT_COUNT];
    for (int slot = 0; slot < SLOT_COUNT; ++slot)
        before[slot] = slotPixels(slot);
    for (int i = 0; i < 3; ++i)
        typeKey(SDLK_l);
    ASSERT_EQ(slotArea, SlotArea::LIT);
    for (int slot = 0; slot < SLOT_COUNT; ++slot)
        EXPECT_EQ(slotPixels(slot), before[slot]) << "slot " << slot;
    EXPECT_EQ(session.lines.size(), 1u) << "Invert alone";

    // Saves write the target's own colours, not the lit picture.
    typeKey(SDLK_s, KMOD_LCTRL);
    std::vector<uint32_t> saved;
    ASSERT_TRUE(testsupport::decodeBmp24(
        testsupport::readFile("texture000.bmp"), TEXTURE_SIZE, TEXTURE_SIZE, saved));
    std::vector<Pixel> target = before[0];
    for (Pixel& pixel : target)
        pixel &= 0xFFFFFF;
    EXPECT_EQ(saved, target);

    // The press before L is the one to undo.
    typeKey(SDLK_z, KMOD_LCTRL);
    EXPECT_EQ(slotPixels(0), original);
    EXPECT_EQ(slotArea, SlotArea::LIT);
}

} // namespace
