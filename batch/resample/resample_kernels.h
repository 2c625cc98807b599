#pragma once

// The resampling passes behind iplResize, over 8-bit images of three interleaved channels.
// spanX and spanY are the destination lengths that the whole source width and height cover.

#include <cstddef>
#include <cstdint>

// Rows of one image addressed from the top, whatever their order in memory.
struct PixelPlane
{
    std::uint8_t* top = nullptr; // first byte of the top row
    std::ptrdiff_t step = 0;     // bytes from one row to the one below it; negative when bottom-up
    int width = 0;
    int height = 0;

    std::uint8_t* Row(int y) const { return top + y * step; }
};

constexpr int kChannels = 3;

// Needs a source of at least 4 x 4 pixels.
void ResampleCubic(const PixelPlane& source, const PixelPlane& target, std::int64_t spanX,
                   std::int64_t spanY);
// Needs a source of at least 2 x 2 pixels.
void ResampleLinear(const PixelPlane& source, const PixelPlane& target, std::int64_t spanX,
                    std::int64_t spanY);
void ResampleNearest(const PixelPlane& source, const PixelPlane& target, std::int64_t spanX,
                     std::int64_t spanY);
