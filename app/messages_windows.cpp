#include "app/messages.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <windows.h>

#include "io/save_file.h"

namespace {

// A modal box over no window: the program may have none yet, or be closing.
void showBox(std::string text, const char* caption, UINT icon)
{
    // The terminal's last line break would show as an empty line in a box.
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    std::wstring wide(text.size() + 1, L'\0');
    int length = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &wide[0], (int)wide.size());
    if (length <= 0) {
        MessageBoxA(nullptr, text.c_str(), caption, icon | MB_OK);
        return;
    }
    std::wstring wideCaption(caption, caption + strlen(caption));
    MessageBoxW(nullptr, wide.c_str(), wideCaption.c_str(), icon | MB_OK);
}

} // namespace

void showStartUpFailure(const char* reason)
{
    // A console, where the program was started from one, still gets the reason.
    fprintf(stderr, "Error: Error!\n%s\n", reason && *reason ? reason : "unknown reason");
    MessageBoxA(nullptr, "Error!", "Error", MB_ICONERROR | MB_OK);
}

void showCommandLineError(const char* text)
{
    fputs(text, stderr);
    showBox(text, "Quiltor", MB_ICONERROR);
}

void showUsage(const char* text)
{
    fputs(text, stdout);
    showBox(text, "Quiltor", MB_ICONINFORMATION);
}

void showSaveFailure(const char* fileName, const char* reason)
{
    reportSaveFailure(fileName, reason);
    showBox(std::string("Could not save ") + fileName + ": " + reason, "Quiltor", MB_ICONERROR);
}
