#include "render/terminal.h"

#include <windows.h>

bool prepareStandardError()
{
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    DWORD mode = 0;
    // A pipe or a file has no console mode: scripts see the bytes as written.
    if (error == INVALID_HANDLE_VALUE || !GetConsoleMode(error, &mode))
        return false;
    SetConsoleOutputCP(CP_UTF8);
    // The line's erase is a terminal sequence, which a console shows as
    // text unless asked to act on it; a console that cannot shows no line.
    return SetConsoleMode(error, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}
