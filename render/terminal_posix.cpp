#include "render/terminal.h"

#include <unistd.h>

bool prepareStandardError()
{
    return isatty(STDERR_FILENO) == 1;
}
