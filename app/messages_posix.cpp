#include "app/messages.h"

#include <cstdio>

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
}
