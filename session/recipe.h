// Recipes: a session's steps as a short text file that regenerates its
// textures bit for bit. One line per step, "undo", "redo" or "seed N", after
// the header "quiltor recipe 1"; blank lines and lines starting with "#" are
// ignored, and key=value pairs may come in any order. Slots are numbered 1..4
// as the panel shows them. "save target=T" names the slot to write and
// "material height=H roughness=R metallic=M" the slots whose greys are the
// maps that go with its colours (any of the three, at least one); the last
// line of each word counts, as a whole. Reading is in recipe.cpp, writing in recipe_writing.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "session/step.h"

// The first line that is not blank or a comment: the format's name and version.
extern const char* const RECIPE_HEADER;

// Lines longer than this, without their line break, are refused.
const size_t MAX_RECIPE_LINE_BYTES = 4096;

enum RecipeLineKind { LINE_STEP, LINE_UNDO, LINE_REDO, LINE_SEED };

struct RecipeLine {
    RecipeLineKind kind;
    Step step; // LINE_STEP only
    uint32_t seed; // LINE_SEED only: 1..4294967295
};

// The slots of a material line, as indices 0..3, each -1 where the line
// names none: whose heights, roughness and metallic go with the saved
// slot's colours. A map's value is its slot's grey by the heights' luma
// rule; without a roughness slot the material is fully rough, without a
// metallic one it is not metal.
struct MaterialSlots {
    int32_t height = -1;
    int32_t roughness = -1;
    int32_t metallic = -1;
};

// True when the material names no slot at all, so no line is written.
bool isEmptyMaterial(const MaterialSlots& material);

struct Recipe {
    std::vector<RecipeLine> lines;
    int32_t saveSlot = -1; // the last "save target=T" line's slot index, or -1 if none
    MaterialSlots material; // the last "material" line's slots
};

// True when both lines say the same thing.
bool sameRecipeLine(const RecipeLine& a, const RecipeLine& b);

// Reads a recipe from `length` bytes of text. On failure returns false, leaves
// `recipe` empty and sets `error` to one line naming the source, the line
// number and what is wrong, e.g. "brick.recipe:7: balance=300 is outside 0..256".
bool parseRecipe(
    const char* text, size_t length, const char* sourceName, Recipe* recipe, std::string* error);

// One line as a recipe writes it, without the line break: keys in their fixed
// order, repeat only above 1.
std::string formatRecipeLine(const RecipeLine& line);

// The whole recipe text: the header, one line per entry, a "material" line
// with the keys of the slots `material` names (none when it names none), and
// a final "save target=T" line unless `saveSlot` is -1.
std::string formatRecipe(const std::vector<RecipeLine>& lines, int32_t saveSlot,
    const MaterialSlots& material = MaterialSlots());

// A reopened recipe carried on: `openedText` byte for byte, comments and
// all, then the entries of `lines` from `first` on, and the material and
// save lines as formatRecipe writes them. The added lines end as the text's
// first line does, "\r\n" or "\n", and a text whose last line has no line
// break gets one first.
std::string formatContinuedRecipe(const std::string& openedText,
    const std::vector<RecipeLine>& lines, size_t first, int32_t saveSlot,
    const MaterialSlots& material = MaterialSlots());
