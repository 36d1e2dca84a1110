// File names as Windows' own calls take them.
#pragma once

#include <string>

// A UTF-8 file name in UTF-16; empty if the name is not UTF-8.
std::wstring wideName(const char* name);
