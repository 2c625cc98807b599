#pragma once

#include <cstdint>
#include <vector>

class CDibImage;

// The running per-channel sums of the images an Average run has read, and their mean. The first
// image sets the size; later ones are laid over it at their top-left corners, so a larger image
// adds only the part inside that size and a smaller one leaves the rest of the sums as they are.
// 32-bit sums hold more than sixteen million images of any content.
class CImageSum
{
public:
    // Adds a 24-bit image. False, with nothing added, when the image is not 24-bit, when the sums
    // can't be allocated, or when another image could overflow them.
    bool add(const CDibImage& image);

    bool empty() const { return m_count == 0; }

    // The mean image: each byte is the channel's sum divided by the number of images added,
    // rounded half up. False when nothing was added or the image can't be created.
    bool average(CDibImage& result) const;

private:
    std::vector<std::uint32_t> m_sums; // blue, green, red per pixel, from the top row down
    int m_width = 0;
    int m_height = 0;
    std::uint32_t m_count = 0;
};
