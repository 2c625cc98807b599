#pragma once

// The image-processing layer's description of pixel memory, and its translation from a packed
// DIB. A header never owns the pixels it describes: they stay in the DIB's block, which must
// outlive the header and must not move while it is in use.

#include <cstdint>
#include <memory>
#include <span>

// Bits per channel. Only IPL_DEPTH_8U images are resampled; the others are named because the
// resampler's preconditions name them.
constexpr int IPL_DEPTH_1U = 1;
constexpr int IPL_DEPTH_8U = 8;
constexpr int IPL_DEPTH_16U = 16;
constexpr int IPL_DEPTH_32F = 32;

// Values of ImageHeader::dataOrder.
constexpr int IPL_DATA_ORDER_PIXEL = 0; // channels interleaved per pixel
constexpr int IPL_DATA_ORDER_PLANE = 1; // one plane per channel

// Values of ImageHeader::origin.
constexpr int IPL_ORIGIN_TL = 0; // the first row in memory is the top row
constexpr int IPL_ORIGIN_BL = 1; // the first row in memory is the bottom row

// There is no region of interest and no tiling: a header always describes its whole image.
struct ImageHeader
{
    int nChannels = 0;
    int alphaChannel = 0; // index of the alpha channel, 0 for none
    int depth = 0;
    char colorModel[4] = {};
    char channelSeq[4] = {}; // channel order in memory
    int dataOrder = IPL_DATA_ORDER_PIXEL;
    int origin = IPL_ORIGIN_TL;
    int align = 4; // row alignment in bytes
    int width = 0;
    int height = 0;
    int widthStep = 0;          // bytes from one row in memory to the next
    std::int64_t imageSize = 0; // widthStep x height, which may exceed the range of an int
    std::uint8_t* imageData = nullptr;
};

// Releases a header made by iplTranslateDIB; the pixels it describes are untouched.
void FreeImageHeader(ImageHeader* header);

struct ImageHeaderDeleter
{
    void operator()(ImageHeader* header) const { FreeImageHeader(header); }
};
using ImageHeaderPtr = std::unique_ptr<ImageHeader, ImageHeaderDeleter>;

// Describes the pixel rows of a packed DIB in place. dib is the whole block, starting at its
// 40-byte information header. Only uncompressed 24-bit DIBs are translated (never copying, so
// cloneData is set to false); any other DIB, or one whose rows do not fit in the block, gives
// null. Rows of a positive-height DIB are bottom-up (origin IPL_ORIGIN_BL).
ImageHeaderPtr iplTranslateDIB(std::span<std::uint8_t> dib, bool& cloneData);
