#include "batch/resample/ipl_image.h"

#include "image/byte_order.h"
#include "image/dib.h"

#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::uint32_t kLastCompressionCode = 3;

// True when the header passes the layer's checks that come before any bit count is looked at.
bool isTranslatable(std::span<const std::uint8_t> dib)
{
    if (dib.size() < kInfoHeaderSize)
        return false;
    const std::uint8_t* header = dib.data();
    return DibHeaderSize(header) == kInfoHeaderSize && ReadLE16(header + 12) == 1 &&
           DibCompression(header) <= kLastCompressionCode;
}

// The byte offset of the pixel rows, or 0 when the rows do not fit in the block.
std::size_t pixelOffset(std::span<const std::uint8_t> dib, std::int64_t stride, std::int64_t rows)
{
    const std::uint8_t* header = dib.data();
    if (ReadLE32(header + 32) > 0xFFFF) // colours used: the table size is a 16-bit quantity
        return 0;
    const std::uint64_t offset = kInfoHeaderSize + std::uint64_t(DibColorTableSize(header));
    if (offset > dib.size() || std::uint64_t(rows) > (dib.size() - offset) / std::uint64_t(stride))
        return 0;
    return offset;
}

} // namespace

void FreeImageHeader(ImageHeader* header)
{
    delete header;
}

ImageHeaderPtr iplTranslateDIB(std::span<std::uint8_t> dib, bool& cloneData)
{
    cloneData = false;
    if (!isTranslatable(dib))
        return nullptr;
    const std::uint8_t* info = dib.data();
    // FIXME: DIBs of other depths and run-length-encoded ones would need their pixels copied
    // into new memory; nothing in the program hands them over, so they are refused.
    if (DibBitCount(info) != 24 || DibCompression(info) != kCompressionRgb)
        return nullptr;

    const std::int64_t width = DibPixelWidth(info);
    const std::int64_t signedHeight = DibPixelHeight(info);
    const std::int64_t height = std::llabs(signedHeight);
    const std::int64_t stride = DibStride(width, 24);
    if (stride == 0 || height == 0 || stride > INT_MAX || height > INT_MAX)
        return nullptr;
    const std::size_t offset = pixelOffset(dib, stride, height);
    if (offset == 0)
        return nullptr;

    auto header = ImageHeaderPtr(new ImageHeader);
    header->nChannels = 3;
    header->depth = IPL_DEPTH_8U;
    std::memcpy(header->colorModel, "RGB", 4);
    std::memcpy(header->channelSeq, "BGR", 4);
    header->origin = signedHeight > 0 ? IPL_ORIGIN_BL : IPL_ORIGIN_TL;
    header->width = static_cast<int>(width);
    header->height = static_cast<int>(height);
    header->widthStep = static_cast<int>(stride);
    header->imageSize = stride * height;
    header->imageData = dib.data() + offset;
    return header;
}
