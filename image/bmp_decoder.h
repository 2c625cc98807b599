#pragma once

#include "image/dib.h"

#include <cstdint>
#include <span>

// Turns a bitmap file (file header included) into a packed DIB with a 40-byte info header and
// bottom-up rows. Reads the 12-, 16-, 40-, 52-, 56-, 64-, 108- and 124-byte headers, honours the
// pixel offset, and decodes RLE4, RLE8, bit fields and top-down rows. Palette images keep their
// depth with a full colour table (entries the file lacks are black); 16- and 32-bit files without
// bit fields keep theirs; bit-field files become 24-bit. A file whose pixel data is shorter than
// it claims, or that is malformed, gives an empty block.
DibBlock DecodeBmp(std::span<const std::uint8_t> file);
