// Telling the user what went wrong, or what they asked for: on standard
// error or output where the program has a terminal, and in a message box
// too where it is a windowed program (Windows), which has none. Each system
// has a file of its own: messages_posix.cpp and messages_windows.cpp.
#pragma once

// A start-up failure: "Error!" (in a box captioned "Error" with an error
// icon), with the system's reason after it on the terminal.
void showStartUpFailure(const char* reason);

// A command line or recipe that cannot be used: the text, one line or more
// ending in a line break, as an error.
void showCommandLineError(const char* text);

// The usage asked for with --help, on standard output.
void showUsage(const char* text);

// A save that failed while the window is open, as one line: "Could not save
// NAME: REASON"; and the same over the slot area until the next key or
// press (where there is no terminal, in a box captioned "Quiltor" instead).
void showSaveFailure(const char* fileName, const char* reason);
