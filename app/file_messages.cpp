#include "app/file_messages.h"

#include <cstdio>
#include <cstring>

namespace {

const char* const ANY_KEY_CLOSES = "Any key or click closes this message.";

// A message box with its title and the file's name under it, owned by `owner`.
void startFileMessage(const void* owner, const char* title, const char* recipeName)
{
    startOverlay(false);
    overlay.owner = owner;
    addOverlayLine(OVERLAY_TITLE_COLOR, 0, title);
    if (recipeName) {
        char name[OVERLAY_LINE_CHARACTERS + 1];
        shortenInMiddle(recipeName, OVERLAY_LINE_CHARACTERS - 2, name);
        addOverlayLine(OVERLAY_NAME_COLOR, 2, name);
    }
}

// The two ways out of a conflict, whose keys act through the message.
void offerReloadAndSaveAsNew(OverlayKeyAction reload, OverlayKeyAction saveAsNew)
{
    overlay.offeredKeys[0] = reload;
    overlay.offeredKeys[1] = saveAsNew;
    addOverlaySpace();
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "Any other key or click closes this message.");
}

} // namespace

void showNewRecipeMessage(const void* owner, const char* recipeName, const char* bitmapName)
{
    startFileMessage(owner, "A new recipe", recipeName);
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "does not exist yet. Save creates it, with the bitmap");
    char name[OVERLAY_LINE_CHARACTERS + 1];
    shortenInMiddle(bitmapName, OVERLAY_LINE_CHARACTERS - 2, name);
    addOverlayLine(OVERLAY_NAME_COLOR, 2, name);
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "beside it; or write it in an editor: once it is there,");
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "the window shows it and follows every save.");
    addOverlaySpace();
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, ANY_KEY_CLOSES);
}

void showUnusableRecipeMessage(const void* owner, const char* error)
{
    startFileMessage(owner, "The recipe cannot be used", nullptr);
    // The reader's own line, as a reopen prints it, in as many lines as it takes.
    for (size_t left = strlen(error); left > 0;) {
        size_t part = left < (size_t)OVERLAY_LINE_CHARACTERS ? left : OVERLAY_LINE_CHARACTERS;
        char line[OVERLAY_LINE_CHARACTERS + 1];
        snprintf(line, sizeof line, "%.*s", (int)part, error);
        addOverlayLine(OVERLAY_NAME_COLOR, 0, line);
        error += part;
        left -= part;
    }
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "The slots stay as the last text that could be used");
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "made them. The next good save loads it.");
    addOverlaySpace();
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, ANY_KEY_CLOSES);
}

void showRemovedRecipeMessage(const void* owner, const char* recipeName)
{
    startFileMessage(owner, "The recipe was removed", recipeName);
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "The slots stay as they are, and Save writes it again.");
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "A file of that name that appears is loaded.");
    addOverlaySpace();
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, ANY_KEY_CLOSES);
}

void showChangedOnDiskMessage(const void* owner, const char* recipeName, size_t unsavedSteps,
    OverlayKeyAction reload, OverlayKeyAction saveAsNew)
{
    startFileMessage(owner, "The recipe changed on disk", recipeName);
    char line[OVERLAY_LINE_CHARACTERS + 1];
    snprintf(line, sizeof line,
        "The window holds %lu step%s not saved to it, so it was not loaded.",
        (unsigned long)unsavedSteps, unsavedSteps == 1 ? "" : "s");
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, line);
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "F5 loads the file and drops those steps;");
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "Ctrl+Shift+S keeps them as a new recipe.");
    offerReloadAndSaveAsNew(reload, saveAsNew);
}

void showSaveRefusedMessage(
    const void* owner, const char* recipeName, OverlayKeyAction reload, OverlayKeyAction saveAsNew)
{
    startFileMessage(owner, "Not saved", recipeName);
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "changed on disk since the window read or wrote it,");
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "and Save would write over that text.");
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "F5 loads the file and drops the steps made here;");
    addOverlayLine(OVERLAY_TEXT_COLOR, 0, "Ctrl+Shift+S keeps them as a new recipe.");
    offerReloadAndSaveAsNew(reload, saveAsNew);
}
