#pragma once

#include "video/picture_options.h"
#include "video/stream_picture.h"

// Where a picture's colour matrix came from.
enum class MatrixSource
{
    Tagged,
    UntaggedHd, // BT.709, as players take an untagged picture at least 1280 wide or over 576 high
    UntaggedSd, // BT.601 for smaller ones
    Forced,     // the ColorMatrix option
    RgbFormat,  // the pixels are RGB already: there is no matrix
};

// Where its range came from.
enum class RangeSource
{
    Tagged,
    FullRangeFormat, // untagged, in a pixel format that is full range by definition (yuvj)
    Untagged,        // taken as limited
};

// How a picture's colour is read: its tags, with what was assumed where they say nothing.
struct PictureColour
{
    AVColorSpace matrix = AVCOL_SPC_BT470BG;
    MatrixSource matrixSource = MatrixSource::Tagged;
    AVColorRange range = AVCOL_RANGE_MPEG;
    RangeSource rangeSource = RangeSource::Tagged;
    AVColorPrimaries primaries = AVCOL_PRI_UNSPECIFIED;
    AVColorTransferCharacteristic transfer = AVCOL_TRC_UNSPECIFIED;

    bool isHdr() const;
    // Primaries wider than BT.709's, which swscale can't bring to it.
    bool isWideGamut() const;
};

PictureColour ResolvePictureColour(const ColourTags& tags, int width, int height,
                                   AVPixelFormat format, ColorMatrixChoice choice);

// The road a picture takes to 24-bit RGB.
enum class ColourPath
{
    Matrix,    // swscale with the picture's matrix and range: SDR BT.601 and BT.709
    WideGamut, // zscale to BT.709 primaries
    ToneMap,   // zscale to linear light and BT.709 primaries, tonemap, BT.709 gamma again
};
ColourPath ColourPathOf(const PictureColour& colour, const PictureOptions& options);
