#pragma once

#include "image/dib.h"

#include <cstdio>
#include <string>
#include <string_view>

// True when the path's extension is ".bmp" or ".dib", in any case.
bool HasBitmapExtension(std::string_view path);

// Reads a bitmap file from an open stream positioned at its start. Empty when the file is not a
// bitmap this program reads. A read error throws CFileException naming path.
DibBlock ReadDibStream(std::FILE* file, const std::string& path);

// Writes the file header and the packed DIB of a block with a 40-byte header, first storing the
// size of the pixel rows in the header's image size field. Returns 0 for a block with another
// header. A write error throws CFileException naming path.
int WriteDibStream(DibBlock& block, std::FILE* file, const std::string& path);
