// Sleeping between main-loop passes until input arrives, without waking on
// a fixed tick while nothing happens.
#pragma once

// The file descriptor of the window's X connection, or -1 where there is
// none: a video driver without one (the dummy driver, for one), or Windows,
// where the wait is on the thread's message queue.
int findXConnection();

// Returns once SDL may have an event for the loop: at once if one is queued,
// otherwise when the window has input or a timeout passes. While a key is
// down the timeout is short, because SDL makes key repeats inside its event
// pump. Consumes no event.
void waitForEvents(int xConnection);

// Sleeps until the window has input or `timeoutMs` passes: the part of the
// wait that differs between systems (event_wait_posix.cpp,
// event_wait_windows.cpp).
void waitForInput(int xConnection, int timeoutMs);
