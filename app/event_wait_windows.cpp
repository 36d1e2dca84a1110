#include "app/event_wait.h"

#include <windows.h>

int findXConnection()
{
    return -1;
}

void waitForInput(int, WatchWaitable watch, int timeoutMs)
{
    // SDL reads the window's messages on this thread, so its message queue
    // is what to wait on, with the followed file's change notification
    // beside it. MWMO_INPUTAVAILABLE also wakes for input that was queued
    // before the wait began and not yet read.
    HANDLE handles[1] = { (HANDLE)watch };
    DWORD count = watch != NO_WAITABLE ? 1 : 0;
    MsgWaitForMultipleObjectsEx(
        count, count ? handles : nullptr, (DWORD)timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}
