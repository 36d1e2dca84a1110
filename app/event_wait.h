// Sleeping between main-loop passes until input arrives, without waking on
// a fixed tick while nothing happens.
#pragma once

#include "io/file_watch.h"

// The file descriptor of the window's X connection, or -1 where there is
// none: a video driver without one (the dummy driver, for one), or Windows,
// where the wait is on the thread's message queue.
int findXConnection();

// Returns once SDL may have an event for the loop: at once if one is queued,
// otherwise when the window has input, the followed file's watch has news
// (`watch`, or NO_WAITABLE), or a timeout passes. While a key is down the
// timeout is short, because SDL makes key repeats inside its event pump;
// `latestMs`, unless it is negative, shortens it further, for work due then.
// Consumes no event.
void waitForEvents(int xConnection, WatchWaitable watch = NO_WAITABLE, int latestMs = -1);

// Sleeps until the window has input, the watch has news or `timeoutMs`
// passes: the part of the wait that differs between systems
// (event_wait_posix.cpp, event_wait_windows.cpp).
void waitForInput(int xConnection, WatchWaitable watch, int timeoutMs);
