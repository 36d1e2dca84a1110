// Standard error as the renderer writes to it.
#pragma once

// Readies standard error for the renderer's messages, which are UTF-8, and
// tells whether it is a terminal that can show the progress line: a line
// rewritten in place with a carriage return and an erase to its end.
bool prepareStandardError();
