// Feeds the recipe reader arbitrary bytes. Whatever it reads must write back
// to text that reads as the same lines, and carried on after the bytes
// themselves, as a reopened recipe is saved, read as those lines and the
// added ones; whatever it refuses must be refused
// with one message of the form "source:line: what". Built with libFuzzer and
// the address and undefined-behaviour sanitizers, so any out-of-bounds access
// or undefined arithmetic is caught as well.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "session/recipe.h"

namespace {

const char SOURCE_NAME[] = "fuzz.recipe";

// Stops the run with a message when a property fails; libFuzzer then saves the input.
void check(bool holds, const char* property)
{
    if (holds)
        return;
    fprintf(stderr, "recipe_fuzzer: violated: %s\n", property);
    __builtin_trap();
}

// "fuzz.recipe:<line>: <what>" on one line, the line number from 1.
bool wellFormedError(const std::string& error)
{
    const std::string prefix = std::string(SOURCE_NAME) + ":";
    if (error.compare(0, prefix.size(), prefix) != 0)
        return false;
    size_t digits = prefix.size();
    while (digits < error.size() && error[digits] >= '0' && error[digits] <= '9')
        ++digits;
    return digits > prefix.size() && error[prefix.size()] != '0'
        && error.compare(digits, 2, ": ") == 0 && error.size() > digits + 2
        && error.find('\n') == std::string::npos;
}

bool inRange(int32_t value, ValueRange range)
{
    return value >= range.min && value <= range.max;
}

// Every value of a step that was read lies in its key's range.
bool stepInRange(const Step& step)
{
    const OperationInfo& info = OPERATIONS[step.operation];
    const ValueRange slots = { 0, SLOT_COUNT - 1 };
    if (!inRange(step.target, slots) || (info.readsSource && !inRange(step.source, slots)))
        return false;
    if (!inRange(step.repeat, ValueRange { 1, MAX_REPEAT }))
        return false;
    const int32_t* value = step.values;
    for (int32_t k = 0; k < info.keyCount; ++k)
        for (int32_t i = 0; i < info.keys[k].valueCount; ++i)
            if (!inRange(*value++, info.keys[k].range))
                return false;
    return true;
}

bool sameMaterial(const MaterialSlots& a, const MaterialSlots& b)
{
    return a.height == b.height && a.roughness == b.roughness && a.metallic == b.metallic;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Recipe recipe;
    std::string error;
    if (!parseRecipe((const char*)data, size, SOURCE_NAME, &recipe, &error)) {
        check(wellFormedError(error), "a refusal names the source and the line");
        check(recipe.lines.empty() && recipe.saveSlot == -1, "a refused recipe is empty");
        return 0;
    }
    check(recipe.saveSlot >= -1 && recipe.saveSlot < SLOT_COUNT, "save slot in range");
    for (int32_t slot :
        { recipe.material.height, recipe.material.roughness, recipe.material.metallic })
        check(slot >= -1 && slot < SLOT_COUNT, "material slots in range");
    for (const RecipeLine& line : recipe.lines) {
        if (line.kind == LINE_STEP)
            check(stepInRange(line.step), "every value read lies in its range");
        if (line.kind == LINE_SEED)
            check(line.seed != 0, "seed 0 is refused");
    }

    const std::string text = formatRecipe(recipe.lines, recipe.saveSlot, recipe.material);
    Recipe again;
    check(parseRecipe(text.data(), text.size(), SOURCE_NAME, &again, &error),
        "a written recipe reads back");
    check(again.lines.size() == recipe.lines.size() && again.saveSlot == recipe.saveSlot
            && sameMaterial(again.material, recipe.material),
        "a written recipe reads back as many lines, and its save and material slots");
    for (size_t i = 0; i < recipe.lines.size(); ++i)
        check(
            sameRecipeLine(again.lines[i], recipe.lines[i]), "a written line reads back the same");
    check(formatRecipe(again.lines, again.saveSlot, again.material) == text,
        "written text is written again unchanged");

    // Saved after a reopening, the file's own bytes come first, unchanged,
    // and the whole reads as the file's lines and then the added ones.
    const std::string opened((const char*)data, size);
    MaterialSlots added;
    added.height = 0;
    added.metallic = SLOT_COUNT - 1;
    const std::string continued
        = formatContinuedRecipe(opened, recipe.lines, 0, SLOT_COUNT - 1, added);
    check(continued.compare(0, opened.size(), opened) == 0, "a reopened text is kept unchanged");
    check(parseRecipe(continued.data(), continued.size(), SOURCE_NAME, &again, &error),
        "a continued recipe reads back");
    check(again.lines.size() == 2 * recipe.lines.size() && again.saveSlot == SLOT_COUNT - 1
            && sameMaterial(again.material, added),
        "a continued recipe reads back as its lines and the added ones");
    for (size_t i = 0; i < again.lines.size(); ++i)
        check(sameRecipeLine(again.lines[i], recipe.lines[i % recipe.lines.size()]),
            "a continued line reads back the same");
    return 0;
}
