// Writes a texture to a PNG file through libpng.
#pragma once

#include <cstdio>

#include "gfx/canvas.h"

// Writes the 256 x 256 pixel array to `fileName` as an 8-bit RGB PNG without
// alpha; the top byte of every pixel is ignored. Like the BMP export, the file
// is written under a temporary name and renamed into place once complete; on
// failure prints one line on stderr naming the file and the reason, and
// returns false.
bool saveTexturePng(const Pixel* pixels, const char* fileName);

// Writes the same PNG into an open file. Returns null, or the reason it
// failed, which stays valid until the next call; the file stays open.
const char* writeTexturePng(const Pixel* pixels, FILE* file);
