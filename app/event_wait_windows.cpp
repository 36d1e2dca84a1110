#include "app/event_wait.h"

#include <windows.h>

int findXConnection()
{
    return -1;
}

void waitForInput(int, int timeoutMs)
{
    // SDL reads the window's messages on this thread, so its message queue
    // is what to wait on. MWMO_INPUTAVAILABLE also wakes for input that was
    // queued before the wait began and not yet read.
    MsgWaitForMultipleObjectsEx(0, nullptr, (DWORD)timeoutMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}
