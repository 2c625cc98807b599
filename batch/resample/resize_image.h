#pragma once

// Resampling of 24-bit images for the batch tools: four-tap cubic interpolation whose corner
// pixels land exactly on the source's corner pixels.

#include "image/dib.h"

#include <cstdint>

class CDibImage;

// Resamples src into dst, which the caller has created as a 24-bit image of the wanted size.
// Does nothing when either image is empty or not 24-bit; src is only read.
void ResizeImage(const CDibImage& src, CDibImage& dst);

// Brings src to exactly width x height without distorting it: scales it until it covers the
// target box, then cuts the overhang of the longer side away equally on both sides (an odd
// surplus leaves the extra column at the right and the extra row at the bottom). Does nothing
// when src is empty or a target side is not positive; dst is empty afterwards when the
// intermediate image could not be allocated, or when an image would exceed maxBytes.
void ResizeAndCrop(const CDibImage& src, CDibImage& dst, int width, int height,
                   std::size_t maxBytes = kMaxDibBytes);

// The memory ResizeAndCrop takes for its images when it brings a source of srcWidth x srcHeight
// to width x height: the picture that covers the box and, when that is larger, the cut one. Sides
// beyond what an image can have give the largest number.
std::uint64_t ResizeAndCropBytes(int srcWidth, int srcHeight, int width, int height);
