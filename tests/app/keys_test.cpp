// The keys are declared once, in app/shortcuts.cpp: the help page and
// --help read that table, and the README and the manual pages, written by
// hand, must name the same keys in the same order.

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

#include "app/shortcuts.h"
#include "tests/support/bmp_file.h"

namespace {

std::vector<std::string> declaredKeys()
{
    std::vector<std::string> names;
    for (int32_t i = 0; i < KEY_COUNT; ++i)
        names.push_back(KEYS[i].shownAs);
    return names;
}

std::string sourceFile(const char* path)
{
    return testsupport::readFile(std::string(QUILTOR_SOURCE_DIR "/") + path);
}

// The first column of the README's table under "| Key | What it does |".
std::vector<std::string> readmeKeys(const std::string& readme)
{
    std::vector<std::string> names;
    size_t table = readme.find("| Key | What it does |\n|---|---|\n");
    if (table == std::string::npos)
        return names;
    std::istringstream rows(readme.substr(readme.find("|---|---|\n", table) + 10));
    std::string row;
    while (std::getline(rows, row) && row.rfind("| ", 0) == 0)
        names.push_back(row.substr(2, row.find(" |", 2) - 2));
    return names;
}

// What a font macro's line shows: its arguments run together, each quoted
// one as it stands. ".BR Ctrl+Y \", \" Ctrl+Shift+Z" shows "Ctrl+Y, Ctrl+Shift+Z".
std::string fontMacroText(const std::string& line)
{
    std::string text;
    size_t i = line.find(' ');
    while (i != std::string::npos && i < line.size()) {
        if (line[i] == ' ') {
            ++i;
        } else if (line[i] == '"') {
            size_t end = line.find('"', i + 1);
            text += line.substr(i + 1, end - i - 1);
            i = end == std::string::npos ? end : end + 1;
        } else {
            size_t end = line.find(' ', i);
            text += line.substr(i, end - i);
            i = end;
        }
    }
    return text;
}

// The tags of the KEYS section of a manual page: the line after each .TP.
std::vector<std::string> manualKeys(const std::string& page)
{
    std::vector<std::string> names;
    size_t start = page.find("\n.SH KEYS\n");
    if (start == std::string::npos)
        return names;
    size_t end = page.find("\n.SH ", start + 1);
    std::istringstream lines(page.substr(start, end - start));
    std::string line;
    bool tag = false;
    while (std::getline(lines, line)) {
        if (tag)
            names.push_back(fontMacroText(line));
        tag = line == ".TP";
    }
    return names;
}

// The Windows README's "Keys" list: a key at the margin's two spaces, then
// two spaces or more before what it does.
std::vector<std::string> windowsReadmeKeys(const std::string& readme)
{
    std::vector<std::string> names;
    size_t start = readme.find("\nKeys\n----\n");
    if (start == std::string::npos)
        return names;
    std::istringstream lines(readme.substr(start + 11));
    std::string line;
    while (std::getline(lines, line) && line.rfind("---", 0) != 0) {
        size_t gap = line.find("  ", 2);
        if (line.rfind("  ", 0) == 0 && line.size() > 2 && line[2] != ' '
            && gap != std::string::npos)
            names.push_back(line.substr(2, gap - 2));
    }
    return names;
}

TEST(Keys, TheDocumentsNameTheDeclaredKeysInTheirOrder)
{
    const std::vector<std::string> declared = declaredKeys();
    EXPECT_EQ(readmeKeys(sourceFile("README.md")), declared) << "README.md";
    EXPECT_EQ(manualKeys(sourceFile("data/quiltor.1")), declared) << "data/quiltor.1";
    EXPECT_EQ(windowsReadmeKeys(sourceFile("data/README-windows.txt")), declared)
        << "data/README-windows.txt";
}

TEST(Keys, EachPressRunsOneKey)
{
    std::vector<std::pair<int, int>> seen;
    for (int32_t i = 0; i < KEY_COUNT; ++i)
        for (const KeyPress& press : KEYS[i].presses) {
            if (press.key == SDLK_UNKNOWN)
                continue;
            std::pair<int, int> both(press.key, press.modifiers);
            EXPECT_EQ(std::count(seen.begin(), seen.end(), both), 0) << KEYS[i].name;
            seen.push_back(both);
        }
}

} // namespace
