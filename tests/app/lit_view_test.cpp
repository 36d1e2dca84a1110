// The lit view, by its key L: the target slot's colours lit from the upper
// left as the relief of the source slot's luma, four times edge to edge. It
// shares the slot area with the tiled view and is only a view: no slot,
// step or file changes with it.

#include <algorithm>
#include <cmath>

#include "app/lit_view.h"
#include "tests/app/application_fixture.h"

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

// What a flat colour becomes on a slope of the triangle wave whose normal
// leans along (normalX, normalY), from the rule as the README states it:
// heights are luma / 255, so a slope of 2/255 a pixel is 2 * 256/255 per
// texture width, times the default relief; the light comes along (-1, 1, 1)
// with x right and y up, a quarter of it as ambient light, and a flat
// surface shows its colour unchanged.
Pixel litOnSlope(Pixel color, double normalX, double normalY)
{
    double slope = 2.0 * 256.0 / 255.0 * DEFAULT_RELIEF;
    double length = sqrt(slope * slope + 1.0);
    double facing = (-normalX * slope + normalY * slope + 1.0) / length / sqrt(3.0);
    double factor = (0.25 + 0.75 * facing) / (0.25 + 0.75 / sqrt(3.0));
    Pixel lit = 0;
    for (int shift : { 16, 8, 0 }) {
        double channel = ((color >> shift) & 0xFF) * factor;
        lit |= (channel >= 255.0 ? 255 : (Pixel)lround(channel)) << shift;
    }
    return lit;
}

// Whether two colours differ by at most one step in each channel: the
// program rounds the light to a fixed-point factor first.
bool nearlyEqual(Pixel shown, Pixel expected)
{
    for (int shift : { 16, 8, 0 }) {
        int difference = (int)((shown >> shift) & 0xFF) - (int)((expected >> shift) & 0xFF);
        if (difference < -1 || difference > 1)
            return false;
    }
    return true;
}

const Pixel FLAT_COLOR = 0xFF8040;

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

TEST_F(LitView, AFlatSourceShowsTheTargetAsTheTiledViewDoes)
{
    press(TARGET_2);
    press(CLEAR); // slot 2: one flat red
    press(TARGET_1);
    press(SOURCE_2);
    typeKey(SDLK_t);
    std::vector<Pixel> tiled = shownSlotArea();
    typeKey(SDLK_l);
    EXPECT_EQ(shownSlotArea(), tiled) << "flat: the colours unchanged, in the tiled view's frame";
}

TEST_F(LitView, SlopesFacingTheUpperLeftAreBrighterAndFullChannelsStayFull)
{
    fill(0, [](int, int) { return FLAT_COLOR; });
    fill(1, [](int x, int) { return triangle(x); });
    fill(2, [](int, int y) { return triangle(y); });
    press(SOURCE_2);
    typeKey(SDLK_l);

    // Heights rising to the right face left, towards the light; falling,
    // away from it.
    Pixel rising = litOnSlope(FLAT_COLOR, -1, 0);
    Pixel falling = litOnSlope(FLAT_COLOR, 1, 0);
    for (int y : { 0, 100, 300 }) {
        EXPECT_PRED2(nearlyEqual, screenPixel(VIEW_ORIGIN + 60, VIEW_ORIGIN + y), rising);
        EXPECT_PRED2(nearlyEqual, screenPixel(VIEW_ORIGIN + 190, VIEW_ORIGIN + y), falling);
        EXPECT_PRED2(nearlyEqual, screenPixel(VIEW_ORIGIN + 256 + 60, VIEW_ORIGIN + y), rising);
    }
    Pixel lit = screenPixel(VIEW_ORIGIN + 60, VIEW_ORIGIN);
    Pixel shaded = screenPixel(VIEW_ORIGIN + 190, VIEW_ORIGIN);
    EXPECT_EQ(lit >> 16, 255u) << "a full channel stays full, not wrapped";
    EXPECT_GT(lit & 0xFFFF, FLAT_COLOR & 0xFFFF);
    EXPECT_LT(shaded, FLAT_COLOR);

    // Heights rising downwards face up, towards the light.
    press(SOURCE_3);
    Pixel up = screenPixel(VIEW_ORIGIN + 30, VIEW_ORIGIN + 60);
    Pixel down = screenPixel(VIEW_ORIGIN + 30, VIEW_ORIGIN + 256 + 190);
    EXPECT_PRED2(nearlyEqual, up, litOnSlope(FLAT_COLOR, 0, 1));
    EXPECT_PRED2(nearlyEqual, down, litOnSlope(FLAT_COLOR, 0, -1));
    EXPECT_GT(up & 0xFFFF, FLAT_COLOR & 0xFFFF);
    EXPECT_LT(down, FLAT_COLOR);
}

// Each channel, exactly: c times the light's level in 1/65536, rounded to
// nearest and capped at 255, the level itself the brightness over a flat
// surface's, rounded to the nearest 1/65536. Worked out here from the
// surface's unit normals with the light (-1, 1, 1)/sqrt 3 and a quarter of
// it ambient, for colours and heights that vary everywhere.
TEST_F(LitView, EveryChannelIsItsColourInTheLightRoundedToNearest)
{
    fill(0, [](int x, int y) {
        return (Pixel)((x * 7 + y) & 0xFF) << 16 | (Pixel)(y * 5 & 0xFF) << 8 | (Pixel)(x ^ y);
    });
    fill(1, [](int x, int y) { return (Pixel)((x * x / 3 + y * 9) & 0xFF) * 0x010101u; });
    press(SOURCE_2);
    typeKey(SDLK_l);
    std::vector<UnitNormal> normals(TEXTURE_PIXEL_COUNT);
    generateUnitNormals(slots[1]->getPixels(), TEXTURE_SIZE, NormalOptions(), normals.data());
    const double axis = 0.57735026918962576;
    auto brightness = [&](const UnitNormal& n) {
        double facing = n.x * -axis + n.y * axis + n.z * axis;
        return 0.25 + 0.75 * (facing > 0.0 ? facing : 0.0);
    };
    const double flat = brightness(UnitNormal { 0.0, 0.0, 1.0 });
    const Pixel* colors = slots[0]->getPixels();
    int32_t roundedUp = 0;
    for (int y = 0; y < VIEW_SIDE; ++y) {
        for (int x = 0; x < VIEW_SIDE; ++x) {
            const int i = (y % TEXTURE_SIZE) * TEXTURE_SIZE + x % TEXTURE_SIZE;
            const uint64_t level = (uint64_t)(brightness(normals[i]) / flat * 65536.0 + 0.5);
            Pixel expected = 0;
            for (int shift : { 16, 8, 0 }) {
                uint64_t product = ((colors[i] >> shift) & 0xFF) * level;
                uint64_t channel = std::min<uint64_t>((product + 32768) >> 16, 255);
                roundedUp += (product & 0xFFFF) >= 32768 && channel < 255;
                expected |= (Pixel)channel << shift;
            }
            ASSERT_EQ(screenPixel(VIEW_ORIGIN + x, VIEW_ORIGIN + y), expected) << x << "," << y;
        }
    }
    EXPECT_GT(roundedUp, 10000) << "channels that truncating would get wrong";
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
