#include "batch/resample/ipl_resize.h"

#include "batch/resample/resample_kernels.h"

#include <array>
#include <functional>
#include <utility>

namespace {

using Code = IplStatusCode;

constexpr std::array<std::pair<Code, std::string_view>, 12> kStatusTexts = {{
    {Code::Ok, ""},
    {Code::InPlace, "This function isn`t in-plase function"},
    {Code::DepthMismatch, "srcImage->depth != dstImage->depth"},
    {Code::BadDepth, "srcImage->depth != IPL_DEPTH_1U && srcImage->depth != IPL_DEPTH_8U && "
                     "srcImage->depth != IPL_DEPTH_16U && srcImage->depth != IPL_DEPTH_32F"},
    {Code::DataOrderMismatch, "srcImage->dataOrder != dstImage->dataOrder"},
    {Code::BadXRatio, "xDst <= 0 || xSrc <= 0"},
    {Code::BadYRatio, "yDst <= 0 || ySrc <= 0"},
    {Code::BadInterpolation, "interpolate != IPL_INTER_NN && interpolate != IPL_INTER_LINEAR && "
                             "interpolate != IPL_INTER_CUBIC"},
    {Code::DepthNotSupported, "Only images of 8-bit unsigned channels can be resized"},
    {Code::DataOrderNotSupported, "Only images with interleaved channels can be resized"},
    {Code::ChannelsNotSupported, "Only images of three channels can be resized"},
    {Code::BadHeader, "The image header does not describe its pixel memory"},
}};

bool overlaps(const ImageHeader& a, const ImageHeader& b)
{
    const std::less<const std::uint8_t*> before;
    return before(a.imageData, b.imageData + b.imageSize) &&
           before(b.imageData, a.imageData + a.imageSize);
}

bool describesPixels(const ImageHeader& image)
{
    return image.imageData != nullptr && image.width > 0 && image.height > 0 &&
           std::int64_t(image.width) * image.nChannels <= image.widthStep &&
           std::int64_t(image.widthStep) * image.height <= image.imageSize;
}

// The layer's own preconditions, in the order it checks them.
Code checkArguments(const ImageHeader& src, const ImageHeader& dst, int xDst, int xSrc, int yDst,
                    int ySrc, int interpolate)
{
    if (&src == &dst)
        return Code::InPlace;
    if (src.depth != dst.depth)
        return Code::DepthMismatch;
    if (src.depth != IPL_DEPTH_1U && src.depth != IPL_DEPTH_8U && src.depth != IPL_DEPTH_16U &&
        src.depth != IPL_DEPTH_32F)
        return Code::BadDepth;
    if (src.dataOrder != dst.dataOrder)
        return Code::DataOrderMismatch;
    if (xDst <= 0 || xSrc <= 0)
        return Code::BadXRatio;
    if (yDst <= 0 || ySrc <= 0)
        return Code::BadYRatio;
    if (interpolate != IPL_INTER_NN && interpolate != IPL_INTER_LINEAR &&
        interpolate != IPL_INTER_CUBIC)
        return Code::BadInterpolation;
    return Code::Ok;
}

// What this implementation can do, and that the headers are safe to follow.
Code checkImages(const ImageHeader& src, const ImageHeader& dst)
{
    if (src.depth != IPL_DEPTH_8U)
        return Code::DepthNotSupported;
    if (src.dataOrder != IPL_DATA_ORDER_PIXEL)
        return Code::DataOrderNotSupported;
    if (src.nChannels != kChannels || dst.nChannels != kChannels)
        return Code::ChannelsNotSupported;
    if (!describesPixels(src) || !describesPixels(dst))
        return Code::BadHeader;
    // Writing rows that are still to be read would not be in place either.
    if (overlaps(src, dst))
        return Code::InPlace;
    return Code::Ok;
}

PixelPlane planeOf(const ImageHeader& image)
{
    PixelPlane plane{image.imageData, image.widthStep, image.width, image.height};
    if (image.origin == IPL_ORIGIN_BL) {
        plane.top += std::ptrdiff_t(image.height - 1) * image.widthStep;
        plane.step = -plane.step;
    }
    return plane;
}

// Small sources leave too few samples for the asked interpolation.
int reducedMode(const ImageHeader& src, int interpolate)
{
    if (src.width < 2 || src.height < 2)
        return IPL_INTER_NN;
    if (interpolate == IPL_INTER_CUBIC && (src.width < 4 || src.height < 4))
        return IPL_INTER_LINEAR;
    return interpolate;
}

} // namespace

IplStatus iplStatus(IplStatusCode code)
{
    for (const auto& [known, text] : kStatusTexts) {
        if (known == code)
            return {code, text};
    }
    return {code, {}};
}

IplStatus iplResize(const ImageHeader& srcImage, const ImageHeader& dstImage, int xDst, int xSrc,
                    int yDst, int ySrc, int interpolate)
{
    Code code = checkArguments(srcImage, dstImage, xDst, xSrc, yDst, ySrc, interpolate);
    if (code == Code::Ok)
        code = checkImages(srcImage, dstImage);
    if (code != Code::Ok)
        return iplStatus(code);

    const std::int64_t spanX = std::int64_t(xDst) * srcImage.width / xSrc;
    const std::int64_t spanY = std::int64_t(yDst) * srcImage.height / ySrc;
    const PixelPlane source = planeOf(srcImage);
    const PixelPlane target = planeOf(dstImage);
    switch (reducedMode(srcImage, interpolate)) {
    case IPL_INTER_CUBIC:
        ResampleCubic(source, target, spanX, spanY);
        break;
    case IPL_INTER_LINEAR:
        ResampleLinear(source, target, spanX, spanY);
        break;
    default:
        ResampleNearest(source, target, spanX, spanY);
        break;
    }
    return iplStatus(Code::Ok);
}
