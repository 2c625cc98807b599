#pragma once

#include "image/dib.h"

#include <cstdint>
#include <vector>

// Describes a bitmap file the way other programs write them, for tests and fuzzing seeds.
struct BmpFileLayout
{
    std::uint32_t headerSize = 40; // 12 (core) or 16 to 124
    std::int32_t width = 1;
    std::int32_t height = 1; // negative: top-down rows
    int bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t imageSize = 0;
    std::vector<std::uint32_t> masks; // after a 40-byte header, or inside a longer one
    DibPalette palette;               // three bytes an entry with a core header
    std::uint32_t gap = 0;            // bytes between colour table and pixels
    std::vector<std::uint8_t> pixels; // exactly as stored in the file
};

std::vector<std::uint8_t> BuildBmpFile(const BmpFileLayout& layout);
