#include "batch/resample/resize_image.h"

#include "batch/resample/ipl_resize.h"
#include "image/dib_image.h"

#include <climits>
#include <cmath>

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

void ResizeAndCrop(const CDibImage& src, CDibImage& dst, int width, int height)
{
    if (src.IsEmpty() || width <= 0 || height <= 0)
        return;
    const double rx = double(width) / src.Width();
    const double ry = double(height) / src.Height();
    int coverWidth = width;
    int coverHeight = height;
    if (rx > ry)
        coverHeight = scaledSide(src.Height(), rx);
    else
        coverWidth = scaledSide(src.Width(), ry);
    if (!dst.Create(coverWidth, coverHeight, 24))
        return;
    ResizeImage(src, dst);
    // Cropping to the size the image already has would only copy it.
    if (coverWidth != width || coverHeight != height)
        dst.CropCenter(width, height);
}
