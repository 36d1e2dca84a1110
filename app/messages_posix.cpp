#include "app/messages.h"

#include <cstdio>

#include "app/overlay.h"
#include "io/save_file.h"

void showStartUpFailure(const char* reason)
{
    fprintf(stderr, "Error: Error!\n%s\n", reason && *reason ? reason : "unknown reason");
}

void showCommandLineError(const char* text)
{
    fputs(text, stderr);
}

void showUsage(const char* text)
{
    fputs(text, stdout);
}

void showSaveFailure(const char* fileName, const char* reason)
{
    reportSaveFailure(fileName, reason);
    // The window's user may not see the terminal, if there is one.
    char name[OVERLAY_LINE_CHARACTERS + 1];
    shortenInMiddle(fileName, OVERLAY_LINE_CHARACTERS - 2, name);
    startOverlay(false);
    addOverlayLine(OVERLAY_TITLE_COLOR, 0, "Could not save");
    addOverlayLine(OVERLAY_NAME_COLOR, 2, name);
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, reason);
    addOverlaySpace();
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "Any key or click closes this message.");
}
