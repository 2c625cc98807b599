#include "batch/resample/resize_image.h"

#include "batch/resample/ipl_resize.h"
#include "image/dib_image.h"

#include <climits>
#include <cmath>
#include <cstdint>

namespace {

std::span<std::uint8_t> blockOf(CDibImage& image)
{
    return {image.Header(), image.Block().size()};
}

// A scaled side, rounded half up; sides too long for an int are left for Create to refuse.
int scaledSide(int length, double ratio)
{
    const double side = std::floor(length * ratio + 0.5);
    return side < INT_MAX ? static_cast<int>(side) : INT_MAX;
}

struct Cover
{
    int width;
    int height;
};

// The box scaled to cover: one side is the target's, the other keeps the source's shape.
Cover coverOf(int srcWidth, int srcHeight, int width, int height)
{
    const double rx = double(width) / srcWidth;
    const double ry = double(height) / srcHeight;
    if (rx > ry)
        return {width, scaledSide(srcHeight, rx)};
    return {scaledSide(srcWidth, ry), height};
}

} // namespace

void ResizeImage(const CDibImage& src, CDibImage& dst)
{
    if (src.IsEmpty() || dst.IsEmpty())
        return;
    bool cloned = false;
    // The source header is only read from, but the layer has one header type for both roles.
    const ImageHeaderPtr srcHeader = iplTranslateDIB(blockOf(const_cast<CDibImage&>(src)), cloned);
    if (!srcHeader)
        return;
    const ImageHeaderPtr dstHeader = iplTranslateDIB(blockOf(dst), cloned);
    if (!dstHeader)
        return;
    iplResize(*srcHeader, *dstHeader, dstHeader->width, srcHeader->width, dstHeader->height,
              srcHeader->height, IPL_INTER_CUBIC);
}

void ResizeAndCrop(const CDibImage& src, CDibImage& dst, int width, int height,
                   std::size_t maxBytes)
{
    if (src.IsEmpty() || width <= 0 || height <= 0)
        return;
    const Cover cover = coverOf(src.Width(), src.Height(), width, height);
    if (!dst.Create(cover.width, cover.height, 24, maxBytes))
        return;
    ResizeImage(src, dst);
    // Cropping to the size the image already has would only copy it.
    if ((cover.width != width || cover.height != height) &&
        !dst.CropCenter(width, height, maxBytes))
        dst.Free();
}

std::uint64_t ResizeAndCropBytes(int srcWidth, int srcHeight, int width, int height)
{
    if (srcWidth <= 0 || srcHeight <= 0 || width <= 0 || height <= 0)
        return 0;
    const auto bytes = [](int w, int h) {
        const std::int64_t stride = DibStride(w, 24);
        return stride > 0 && w < INT_MAX && h < INT_MAX
                   ? kInfoHeaderSize + 4 + std::uint64_t(stride) * std::uint64_t(h)
                   : UINT64_MAX;
    };
    const Cover cover = coverOf(srcWidth, srcHeight, width, height);
    const std::uint64_t covering = bytes(cover.width, cover.height);
    if (cover.width == width && cover.height == height)
        return covering;
    const std::uint64_t cut = bytes(width, height);
    return covering > UINT64_MAX - cut ? UINT64_MAX : covering + cut;
}
