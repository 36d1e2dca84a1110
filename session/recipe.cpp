#include "session/recipe.h"

#include "session/recipe_text.h"

#include <string_view>

const char* const RECIPE_HEADER = "quiltor recipe 1";

namespace {

const ValueRange SLOT_RANGE = { 1, SLOT_COUNT }; // as the panel numbers them
const ValueRange REPEAT_RANGE = { 1, MAX_REPEAT };
const int64_t MAX_SEED = 4294967295;
const StepKey TARGET_KEY = { "target", 1, SLOT_RANGE };
const StepKey SOURCE_KEY = { "source", 1, SLOT_RANGE };
const StepKey REPEAT_KEY = { "repeat", 1, REPEAT_RANGE };
const StepKey HEIGHT_KEY = { "height", 1, SLOT_RANGE };

const StepKey ROUGHNESS_KEY = { "roughness", 1, SLOT_RANGE };
const StepKey METALLIC_KEY = { "metallic", 1, SLOT_RANGE };

// The lines that set a value of the recipe instead of adding a step, one row
// per key they read: the line's first word, the key, the field it sets, and
// whether the line must give it. A line none of whose keys is required must
// give at least one. The last line of each word counts as a whole: a key it
// does not give leaves its field at -1.
struct SettingKey {
    const char* line;
    const StepKey* key;
    int32_t* (*field)(Recipe&);
    bool required;
    bool slot; // numbered 1..4 as the panel shows it, kept as its index 0..3
};
const SettingKey SETTING_KEYS[] = {
    // "save target=T": the slot to write.
    { "save", &TARGET_KEY, [](Recipe& r) { return &r.saveSlot; }, true, true },
    // "material height=H roughness=R metallic=M": the slots whose greys go
    // with the saved slot's colours as its heights, roughness and metallic.
    { "material", &HEIGHT_KEY, [](Recipe& r) { return &r.material.height; }, false, true },
    { "material", &ROUGHNESS_KEY, [](Recipe& r) { return &r.material.roughness; }, false, true },
    { "material", &METALLIC_KEY, [](Recipe& r) { return &r.material.metallic; }, false, true },
};
const int32_t SETTING_KEY_COUNT = (int32_t)(sizeof SETTING_KEYS / sizeof SETTING_KEYS[0]);

// The most keys one line reads.
const int32_t MAX_LINE_KEYS = MAX_STEP_KEYS + 3;
static_assert(
    SETTING_KEY_COUNT <= MAX_LINE_KEYS, "a setting line reads more keys than a line holds");

// Where a message points: the source and the line number.
struct Place {
    const char* sourceName;
    size_t line;
    std::string* error;
};

// Sets the error to "source:line: what"; returns false for the caller to pass on.
bool fail(const Place& place, const std::string& what)
{
    *place.error = std::string(place.sourceName) + ":" + std::to_string(place.line) + ": " + what;
    return false;
}

// Refuses a NUL byte or bytes that are not UTF-8: the marks of a binary file.
bool checkText(const char* text, size_t length, Place place)
{
    const unsigned char* bytes = (const unsigned char*)text;
    place.line = 1;
    for (size_t i = 0; i < length;) {
        if (bytes[i] == 0)
            return fail(place, "the file is not a text recipe: it holds a NUL byte");
        size_t sequence = utf8SequenceLength(bytes + i, length - i);
        if (sequence == 0)
            return fail(place, "the file is not a text recipe: it holds bytes that are not UTF-8");
        if (bytes[i] == '\n')
            ++place.line;
        i += sequence;
    }
    return true;
}

bool inRange(int64_t value, ValueRange range)
{
    return value >= range.min && value <= range.max;
}

std::string rangeText(ValueRange range)
{
    return std::to_string(range.min) + ".." + std::to_string(range.max);
}

// The keys a line may give, where each value goes, and which ones it must give.
struct KeySet {
    const char* lineName; // as messages name the line
    int32_t count = 0;
    const StepKey* keys[MAX_LINE_KEYS];
    int32_t* values[MAX_LINE_KEYS];
    bool required[MAX_LINE_KEYS];
};

void addKey(KeySet& set, const StepKey& key, int32_t* values, bool required)
{
    set.keys[set.count] = &key;
    set.values[set.count] = values;
    set.required[set.count] = required;
    ++set.count;
}

// True for any key some line of a recipe reads.
bool isRecipeKey(std::string_view name)
{
    if (name == TARGET_KEY.name || name == SOURCE_KEY.name || name == REPEAT_KEY.name)
        return true;
    for (const SettingKey& setting : SETTING_KEYS)
        if (name == setting.key->name)
            return true;
    for (const OperationInfo& info : OPERATIONS)
        for (int32_t i = 0; i < info.keyCount; ++i)
            if (name == info.keys[i].name)
                return true;
    return false;
}

// Reads one key's value, a number or an R,G,B colour, into `values`.
bool readValue(std::string_view field, std::string_view value, const StepKey& key, int32_t* values,
    const Place& place)
{
    int64_t numbers[3];
    int32_t count = 0;
    bool more = true; // another comma-separated part follows
    while (count < key.valueCount && more) {
        size_t comma = value.find(',');
        if (!readInteger(value.substr(0, comma), &numbers[count]))
            break;
        ++count;
        more = comma != value.npos;
        value = more ? value.substr(comma + 1) : std::string_view();
    }
    if (count < key.valueCount || more) {
        if (key.valueCount == 1)
            return fail(place, shownText(field) + " is not a whole number");
        return fail(place, shownText(field) + " is not a colour R,G,B");
    }
    for (int32_t i = 0; i < count; ++i) {
        if (inRange(numbers[i], key.range))
            continue;
        if (key.valueCount == 1)
            return fail(place, shownText(field) + " is outside " + rangeText(key.range));
        return fail(place, shownText(field) + " has a component outside " + rangeText(key.range));
    }
    for (int32_t i = 0; i < count; ++i)
        values[i] = (int32_t)numbers[i];
    return true;
}

// Reads the key=value fields after a line's first word into the set's values.
bool readKeys(const std::vector<std::string_view>& fields, const KeySet& set, const Place& place)
{
    bool given[MAX_LINE_KEYS] = {};
    for (size_t f = 1; f < fields.size(); ++f) {
        std::string_view field = fields[f];
        size_t equals = field.find('=');
        if (equals == field.npos || equals == 0)
            return fail(place, "expected key=value, found " + quotedText(field));
        std::string_view name = field.substr(0, equals);
        int32_t k = 0;
        while (k < set.count && name != set.keys[k]->name)
            ++k;
        if (k == set.count) {
            if (isRecipeKey(name))
                return fail(
                    place, std::string(set.lineName) + " does not read " + shownText(name) + "=");
            return fail(place, "unknown key " + quotedText(name));
        }
        if (given[k])
            return fail(place, shownText(name) + "= is given twice");
        given[k] = true;
        if (!readValue(field, field.substr(equals + 1), *set.keys[k], set.values[k], place))
            return false;
    }
    bool anyRequired = false;
    bool anyGiven = false;
    for (int32_t k = 0; k < set.count; ++k) {
        if (set.required[k] && !given[k])
            return fail(place, std::string(set.lineName) + " needs " + set.keys[k]->name + "=");
        anyRequired = anyRequired || set.required[k];
        anyGiven = anyGiven || given[k];
    }
    if (anyRequired || anyGiven || set.count == 0)
        return true;
    // A line of optional keys says nothing without one: "material needs
    // height=, roughness= or metallic=".
    std::string keys;
    for (int32_t k = 0; k < set.count; ++k)
        keys += std::string(k == 0           ? ""
                        : k + 1 == set.count ? " or "
                                             : ", ")
            + set.keys[k]->name + "=";
    return fail(place, std::string(set.lineName) + " needs " + keys);
}

bool readStepLine(const std::vector<std::string_view>& fields, Operation operation,
    RecipeLine* line, const Place& place)
{
    const OperationInfo& info = OPERATIONS[operation];
    *line = RecipeLine();
    line->kind = LINE_STEP;
    Step& step = line->step;
    step.operation = operation;
    step.repeat = 1;
    KeySet set;
    set.lineName = info.name;
    addKey(set, TARGET_KEY, &step.target, true);
    if (info.readsSource)
        addKey(set, SOURCE_KEY, &step.source, true);
    int32_t* values = step.values;
    for (int32_t i = 0; i < info.keyCount; ++i) {
        addKey(set, info.keys[i], values, true);
        values += info.keys[i].valueCount;
    }
    addKey(set, REPEAT_KEY, &step.repeat, false);
    if (!readKeys(fields, set, place))
        return false;
    step.target -= 1;
    step.source = info.readsSource ? step.source - 1 : 0;
    return true;
}

// True when `word` starts a line of SETTING_KEYS.
bool isSettingLine(std::string_view word)
{
    for (const SettingKey& setting : SETTING_KEYS)
        if (word == setting.line)
            return true;
    return false;
}

// Reads a line of SETTING_KEYS into the fields its keys set. A key the line
// does not give leaves its field at -1, so the last line counts as a whole.
bool readSettingLine(
    const std::vector<std::string_view>& fields, Recipe* recipe, const Place& place)
{
    const SettingKey* read[MAX_LINE_KEYS];
    int32_t values[MAX_LINE_KEYS];
    KeySet set;
    for (const SettingKey& setting : SETTING_KEYS) {
        if (fields[0] != setting.line)
            continue;
        set.lineName = setting.line;
        read[set.count] = &setting;
        values[set.count] = -1 + (setting.slot ? 1 : 0);
        addKey(set, *setting.key, &values[set.count], setting.required);
    }
    if (!readKeys(fields, set, place))
        return false;
    for (int32_t k = 0; k < set.count; ++k)
        *read[k]->field(*recipe) = values[k] - (read[k]->slot ? 1 : 0);
    return true;
}

bool readSeedLine(const std::vector<std::string_view>& fields, RecipeLine* line, const Place& place)
{
    const std::string range = "1.." + std::to_string(MAX_SEED);
    if (fields.size() != 2)
        return fail(place, "seed needs one number, " + range);
    int64_t seed = 0;
    if (!readInteger(fields[1], &seed))
        return fail(place, "seed " + shownText(fields[1]) + " is not a whole number");
    // Seed 0 would make every random number 0.
    if (seed == 0)
        return fail(place, "seed " + shownText(fields[1]) + " is not allowed (" + range + ")");
    if (seed < 0 || seed > MAX_SEED)
        return fail(place, "seed " + shownText(fields[1]) + " is outside " + range);
    *line = RecipeLine();
    line->kind = LINE_SEED;
    line->seed = (uint32_t)seed;
    return true;
}

// Reads one line after the header into the recipe.
bool readLine(const std::vector<std::string_view>& fields, Recipe* recipe, const Place& place)
{
    std::string_view word = fields[0];
    RecipeLine line = RecipeLine();
    if (word == "undo" || word == "redo") {
        if (fields.size() > 1)
            return fail(place, std::string(word) + " takes nothing after it");
        line.kind = word == "undo" ? LINE_UNDO : LINE_REDO;
    } else if (word == "seed") {
        if (!readSeedLine(fields, &line, place))
            return false;
    } else if (isSettingLine(word)) {
        return readSettingLine(fields, recipe, place);
    } else {
        int32_t operation = 0;
        while (operation < OPERATION_COUNT && word != OPERATIONS[operation].name)
            ++operation;
        if (operation == OPERATION_COUNT)
            return fail(place, "unknown operation " + quotedText(word));
        if (!readStepLine(fields, (Operation)operation, &line, place))
            return false;
    }
    recipe->lines.push_back(line);
    return true;
}

bool readRecipe(const char* text, size_t length, Recipe* recipe, Place place)
{
    if (!checkText(text, length, place))
        return false;
    std::string_view rest(text, length);
    // A byte-order mark some editors write.
    if (rest.substr(0, 3) == "\xEF\xBB\xBF")
        rest.remove_prefix(3);
    bool headerSeen = false;
    place.line = 0;
    while (!rest.empty()) {
        ++place.line;
        size_t end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest.remove_prefix(end == rest.npos ? rest.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.size() > MAX_RECIPE_LINE_BYTES)
            return fail(
                place, "line is longer than " + std::to_string(MAX_RECIPE_LINE_BYTES) + " bytes");
        std::vector<std::string_view> fields = splitFields(line);
        if (fields.empty() || fields[0][0] == '#')
            continue;
        if (headerSeen) {
            if (!readLine(fields, recipe, place))
                return false;
            continue;
        }
        if (fields.size() != 3 || fields[0] != "quiltor" || fields[1] != "recipe"
            || fields[2] != "1")
            return fail(place, std::string("expected \"") + RECIPE_HEADER + "\"");
        headerSeen = true;
    }
    if (!headerSeen) {
        place.line = place.line ? place.line : 1;
        return fail(
            place, std::string("expected \"") + RECIPE_HEADER + "\" before the end of the file");
    }
    return true;
}

} // namespace

bool parseRecipe(
    const char* text, size_t length, const char* sourceName, Recipe* recipe, std::string* error)
{
    *recipe = Recipe();
    if (readRecipe(text, length, recipe, Place { sourceName, 0, error }))
        return true;
    *recipe = Recipe();
    return false;
}
