// Sleeping between main-loop passes until input arrives, without waking on
// a fixed tick while nothing happens.
#pragma once

// The file descriptor of the window's X connection, or -1 where the video
// driver has none (the dummy driver, for one).
int findXConnection();

// Returns once SDL may have an event for the loop: at once if one is queued,
// otherwise when the X connection has input or a timeout passes. While a key
// is down the timeout is short, because SDL makes key repeats inside its
// event pump. Without an X connection it pumps on a short tick, as
// SDL_WaitEvent does. Consumes no event.
void waitForEvents(int xConnection);
