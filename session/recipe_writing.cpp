#include "session/recipe.h"

bool sameRecipeLine(const RecipeLine& a, const RecipeLine& b)
{
    if (a.kind != b.kind)
        return false;
    switch (a.kind) {
    case LINE_STEP:
        return sameStepButRepeat(a.step, b.step) && a.step.repeat == b.step.repeat;
    case LINE_SEED:
        return a.seed == b.seed;
    default:
        return true;
    }
}

std::string formatRecipeLine(const RecipeLine& line)
{
    switch (line.kind) {
    case LINE_UNDO:
        return "undo";
    case LINE_REDO:
        return "redo";
    case LINE_SEED:
        return "seed " + std::to_string(line.seed);
    case LINE_STEP:
        break;
    }
    const Step& step = line.step;
    const OperationInfo& info = OPERATIONS[step.operation];
    std::string text = std::string(info.name) + " target=" + std::to_string(step.target + 1);
    if (info.readsSource)
        text += " source=" + std::to_string(step.source + 1);
    const int32_t* value = step.values;
    for (int32_t k = 0; k < info.keyCount; ++k) {
        text += std::string(" ") + info.keys[k].name + "=";
        for (int32_t i = 0; i < info.keys[k].valueCount; ++i)
            text += (i ? "," : "") + std::to_string(*value++);
    }
    if (step.repeat > 1)
        text += " repeat=" + std::to_string(step.repeat);
    return text;
}

namespace {

// The material line's keys in the order it is written, each with the slot it names.
struct MaterialKey {
    const char* name;
    int32_t MaterialSlots::*slot;
};
const MaterialKey MATERIAL_KEYS[] = {
    { "height", &MaterialSlots::height },
    { "roughness", &MaterialSlots::roughness },
    { "metallic", &MaterialSlots::metallic },
};

// Appends the entries from `first` on, the material line and the save
// line, each ending in `end`.
void appendLines(std::string& text, const std::vector<RecipeLine>& lines, size_t first,
    int32_t saveSlot, const MaterialSlots& material, const char* end)
{
    for (size_t i = first; i < lines.size(); ++i)
        text += formatRecipeLine(lines[i]) + end;
    if (!isEmptyMaterial(material)) {
        text += "material";
        for (const MaterialKey& key : MATERIAL_KEYS)
            if (material.*key.slot >= 0)
                text += std::string(" ") + key.name + "=" + std::to_string(material.*key.slot + 1);
        text += end;
    }
    if (saveSlot >= 0)
        text += "save target=" + std::to_string(saveSlot + 1) + end;
}

} // namespace

bool isEmptyMaterial(const MaterialSlots& material)
{
    return material.height < 0 && material.roughness < 0 && material.metallic < 0;
}

std::string formatRecipe(
    const std::vector<RecipeLine>& lines, int32_t saveSlot, const MaterialSlots& material)
{
    std::string text = std::string(RECIPE_HEADER) + "\n";
    appendLines(text, lines, 0, saveSlot, material, "\n");
    return text;
}

std::string formatContinuedRecipe(const std::string& openedText,
    const std::vector<RecipeLine>& lines, size_t first, int32_t saveSlot,
    const MaterialSlots& material)
{
    size_t firstBreak = openedText.find('\n');
    const char* end
        = firstBreak != openedText.npos && firstBreak > 0 && openedText[firstBreak - 1] == '\r'
        ? "\r\n"
        : "\n";
    std::string text = openedText;
    // A last line cut short by a lone "\r" needs only the "\n" to end.
    if (!text.empty() && text.back() == '\r')
        text += '\n';
    else if (!text.empty() && text.back() != '\n')
        text += end;
    appendLines(text, lines, first, saveSlot, material, end);
    return text;
}
