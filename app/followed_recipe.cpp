#include "app/followed_recipe.h"

#include <SDL.h>
#include <cerrno>

#include "app/file_messages.h"
#include "app/overlay.h"
#include "app/replay_progress.h"
#include "app/saving.h"
#include "app/state.h"
#include "session/recipe_file.h"

namespace {

// What one read of the file found.
struct FileLook {
    bool read = false; // the bytes are in `text`
    int reason = 0; // why it could not be read: ENOENT when no file has the name
    std::string text;
    std::string error; // "Could not read NAME: ...", when it could not be read
};

bool sameLook(const FileLook& a, const FileLook& b)
{
    return a.read == b.read && a.reason == b.reason && a.text == b.text && a.error == b.error;
}

// The follower's fields, its flags last so that they pack together.
struct Follower {
    std::string path; // as given, which the messages name
    FileWatch watch;
    // The bytes the slots were made from, or that the window last wrote
    // (`shownExists` is false for a new recipe until either happens), and
    // the session's lines then.
    std::string shownText;
    size_t syncedLineCount = 0;
    FileLook seen; // what the last read found
    // Without a notification, the file is read every FILE_POLL_PERIOD_MS;
    // two reads in a row that agree count as still.
    FileLook polled;
    // During a reload's replay: the text replayed, and a newer one that
    // can be used, which the replay gives way to (`newerWaiting`).
    std::string replaying;
    FileLook newer;
    Recipe newerRecipe;
    // News came at `newsAt` (`lookDue`): the file is read once it has been
    // still since.
    uint32_t newsAt = 0;
    uint32_t polledAt = 0;
    bool active = false;
    bool shownExists = false;
    bool lookDue = false;
    bool newerWaiting = false;
    // A newer text that cannot be used waits for the replay's end to be shown.
    bool lookAfterReplay = false;
};

Follower follower;

FileLook lookAtFile()
{
    FileLook look;
    look.read = readRecipeText(
        follower.path.c_str(), follower.path.c_str(), &look.text, &look.error, &look.reason);
    if (!look.read)
        look.text.clear();
    return look;
}

// What a look finds when the file holds `text`, or is missing.
FileLook lookOf(bool exists, const std::string& text)
{
    FileLook look;
    look.read = exists;
    look.reason = exists ? 0 : ENOENT;
    if (exists)
        look.text = text;
    return look;
}

bool showsFollowerMessage()
{
    return overlayShown() && overlay.owner == &follower;
}

// Whether ticks `then` are at least `period` before `now`, across the wrap.
bool hasPassed(uint32_t now, uint32_t then, uint32_t period)
{
    return (uint32_t)(now - then) >= period;
}

// Takes the watch's news; without a watch, reads the file when a poll is
// due, and counts two reads in a row that agree and differ from the last
// seen as still news.
void takeNews(uint32_t now)
{
    if (fileWatchActive(follower.watch)) {
        if (takeFileWatchNews(follower.watch)) {
            follower.lookDue = true;
            follower.newsAt = now;
        }
        if (!fileWatchActive(follower.watch))
            follower.polledAt = now; // the folder went: polled from now on
        return;
    }
    if (!hasPassed(now, follower.polledAt, FILE_POLL_PERIOD_MS))
        return;
    follower.polledAt = now;
    // A folder that is back can be watched again; what happened meanwhile is read now.
    if (startFileWatch(follower.watch, follower.path.c_str())) {
        follower.lookDue = true;
        follower.newsAt = now - FILE_SETTLE_MS;
        return;
    }
    FileLook look = lookAtFile();
    if (sameLook(look, follower.polled) && !sameLook(look, follower.seen)) {
        follower.lookDue = true;
        follower.newsAt = now - FILE_SETTLE_MS;
    }
    follower.polled = look;
}

// Whether the news has waited long enough that the file is still.
bool lookIsDue(uint32_t now)
{
    return follower.lookDue && hasPassed(now, follower.newsAt, FILE_SETTLE_MS);
}

bool newerTextArrived();

// Replays a text that can be used into the window. A page the user opened
// stays over it; a message about the file is closed, as what it said no
// longer holds. A newer text that arrives meanwhile is replayed in its
// place, from the start.
void reload(std::string text, Recipe recipe)
{
    bool keepPage = overlayShown() && !showsFollowerMessage();
    Overlay page;
    if (keepPage)
        page = overlay;
    closeOverlay();
    ReplayEnd end;
    for (;;) {
        follower.replaying = text;
        end = openRecipeInWindow(recipe, text, follower.path.c_str(), newerTextArrived);
        if (end != REPLAY_SUPERSEDED || !follower.newerWaiting)
            break;
        follower.newerWaiting = false;
        follower.seen = follower.newer;
        text = follower.newer.text;
        recipe = follower.newerRecipe;
    }
    follower.replaying.clear();
    follower.shownText = text;
    follower.shownExists = true;
    follower.syncedLineCount = session.lines.size();
    if (follower.lookAfterReplay) {
        follower.lookAfterReplay = false;
        follower.lookDue = true;
        follower.newsAt = SDL_GetTicks() - FILE_SETTLE_MS;
    }
    if (keepPage)
        overlay = page;
    // The replay took the user's quit: the main loop ends as for any other.
    if (end == REPLAY_QUIT) {
        SDL_Event quit {};
        quit.type = SDL_QUIT;
        SDL_PushEvent(&quit);
    }
}

// Asked during a reload's replay: whether the file now holds another text
// that can be used, which the replay should give way to.
bool newerTextArrived()
{
    if (follower.lookAfterReplay)
        return false;
    uint32_t now = SDL_GetTicks();
    takeNews(now);
    if (!lookIsDue(now))
        return false;
    follower.lookDue = false;
    FileLook look = lookAtFile();
    if (sameLook(look, follower.seen))
        return false;
    if (look.read && look.text == follower.replaying) {
        follower.seen = look;
        return false;
    }
    if (look.read && !look.text.empty()) {
        std::string error;
        if (parseRecipe(look.text.data(), look.text.size(), follower.path.c_str(),
                &follower.newerRecipe, &error)) {
            follower.newer = look;
            follower.newerWaiting = true;
            return true;
        }
    }
    // Shown once the replay is done, as the slots then are the last good text's.
    follower.lookAfterReplay = true;
    return false;
}

// Says why the file could not be read: no file has the name (one that was
// never there is still a new recipe), or what the system said.
void showWhyUnread(const FileLook& look)
{
    const char* path = follower.path.c_str();
    if (look.reason == ENOENT && !follower.shownExists)
        showNewRecipeMessage(&follower, path, bitmapNameForRecipe(path).c_str());
    else if (look.reason == ENOENT)
        showRemovedRecipeMessage(&follower, path);
    else
        showUnusableRecipeMessage(&follower, look.error.c_str());
}

// Reads the text `look` found into the window, or says why it cannot be.
FollowResult useText(const FileLook& look)
{
    Recipe recipe;
    std::string error;
    if (!parseRecipe(look.text.data(), look.text.size(), follower.path.c_str(), &recipe, &error)) {
        showUnusableRecipeMessage(&follower, error.c_str());
        return FOLLOW_REDRAW;
    }
    reload(look.text, recipe);
    return FOLLOW_REDRAW;
}

// Acts on what a read of the file found, when it differs from the last.
FollowResult actOnChange(const FileLook& look)
{
    // Back to what the slots show: nothing to do, and nothing to warn of.
    if (look.read && follower.shownExists && look.text == follower.shownText) {
        if (!showsFollowerMessage())
            return FOLLOW_NOTHING;
        closeOverlay();
        return FOLLOW_REDRAW;
    }
    if (!look.read) {
        showWhyUnread(look);
        return FOLLOW_REDRAW;
    }
    // Truncated and not yet written again: no recipe is empty.
    if (look.text.empty())
        return FOLLOW_NOTHING;
    if (unsavedStepCount() > 0) {
        showChangedOnDiskMessage(&follower, follower.path.c_str(), unsavedStepCount(),
            reloadRecipeFromKey, saveAsNewFile);
        return FOLLOW_REDRAW;
    }
    return useText(look);
}

} // namespace

void followRecipeFile(const char* path, const std::string& text, bool exists)
{
    stopFollowingRecipe();
    follower.active = true;
    follower.path = path;
    follower.shownText = text;
    follower.shownExists = exists;
    follower.syncedLineCount = session.lines.size();
    follower.seen = lookOf(exists, text);
    follower.polled = follower.seen;
    follower.polledAt = SDL_GetTicks();
    startFileWatch(follower.watch, path);
    if (!exists)
        showWhyUnread(follower.seen);
}

void stopFollowingRecipe()
{
    stopFileWatch(follower.watch);
    follower = Follower();
}

bool followingRecipe()
{
    return follower.active;
}

WatchWaitable followedFileWaitable()
{
    return follower.active ? follower.watch.waitable : NO_WAITABLE;
}

int followedFileDueInMs(uint32_t now)
{
    if (!follower.active)
        return -1;
    uint32_t due;
    if (follower.lookDue)
        due = follower.newsAt + FILE_SETTLE_MS;
    else if (!fileWatchActive(follower.watch))
        due = follower.polledAt + FILE_POLL_PERIOD_MS;
    else
        return -1;
    int32_t left = (int32_t)(due - now);
    return left > 0 ? left : 0;
}

FollowResult checkFollowedRecipe(uint32_t now)
{
    if (!follower.active)
        return FOLLOW_NOTHING;
    takeNews(now);
    if (!lookIsDue(now))
        return FOLLOW_NOTHING;
    follower.lookDue = false;
    FileLook look = lookAtFile();
    if (sameLook(look, follower.seen))
        return FOLLOW_NOTHING;
    follower.seen = look;
    return actOnChange(look);
}

FollowResult reloadFollowedRecipe()
{
    if (!follower.active)
        return FOLLOW_NOTHING;
    follower.lookDue = false;
    FileLook look = lookAtFile();
    follower.seen = look;
    if (!look.read) {
        showWhyUnread(look);
        return FOLLOW_REDRAW;
    }
    return useText(look);
}

bool reloadRecipeFromKey()
{
    return reloadFollowedRecipe() != FOLLOW_NOTHING;
}

size_t unsavedStepCount()
{
    size_t lines = session.lines.size();
    return lines > follower.syncedLineCount ? lines - follower.syncedLineCount : 0;
}

bool followedFileMayBeSaved()
{
    if (!follower.active)
        return true;
    FileLook look = lookAtFile();
    if (!look.read && look.reason == ENOENT)
        return true;
    if (look.read && follower.shownExists && look.text == follower.shownText)
        return true;
    showSaveRefusedMessage(&follower, follower.path.c_str(), reloadRecipeFromKey, saveAsNewFile);
    return false;
}

void noteRecipeSaved(const char* path, const std::string& text)
{
    if (!follower.active)
        return;
    if (follower.path != path) {
        follower.path = path;
        startFileWatch(follower.watch, path);
    }
    follower.shownText = text;
    follower.shownExists = true;
    follower.seen = lookOf(true, text);
    follower.polled = follower.seen;
    follower.syncedLineCount = session.lines.size();
}
