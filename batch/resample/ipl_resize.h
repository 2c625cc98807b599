#pragma once

// Resampling one image of the image-processing layer into another.

#include "batch/resample/ipl_image.h"

#include <string_view>

enum IplInterpolation : int
{
    IPL_INTER_NN = 0,     // nearest neighbour
    IPL_INTER_LINEAR = 1, // bilinear
    IPL_INTER_CUBIC = 2,  // four-tap cubic through the samples
    IPL_INTER_SUPER = 3,  // super-sampling; not offered by iplResize
};

enum class IplStatusCode
{
    Ok,
    InPlace,
    DepthMismatch,
    BadDepth,
    DataOrderMismatch,
    BadXRatio,
    BadYRatio,
    BadInterpolation,
    DepthNotSupported,
    DataOrderNotSupported,
    ChannelsNotSupported,
    BadHeader,
};

// The outcome of an operation of the layer, with its text for whoever shows it.
struct IplStatus
{
    IplStatusCode code = IplStatusCode::Ok;
    std::string_view text;

    bool ok() const { return code == IplStatusCode::Ok; }
};

IplStatus iplStatus(IplStatusCode code);

// Resamples the whole source into the whole destination. The horizontal scale is the fraction
// xDst / xSrc and the vertical one yDst / ySrc: the source width maps onto xDst x width / xSrc
// destination columns, corner pixel onto corner pixel (likewise for rows), so passing the
// destination and source sizes fills the destination exactly. Cubic interpolation falls back to
// linear for a source narrower or lower than 4 pixels, and every mode to nearest neighbour for
// one narrower or lower than 2.
//
// Refuses, writing nothing: the same header (or overlapping pixels) as source and destination,
// unequal or unknown depths or data orders, non-positive fractions and unknown modes. Only
// 8-bit unsigned images of three interleaved channels are resampled; others are refused as not
// supported.
IplStatus iplResize(const ImageHeader& srcImage, const ImageHeader& dstImage, int xDst, int xSrc,
                    int yDst, int ySrc, int interpolate);
