#pragma once

#include "video/av_handles.h"
#include "video/picture_options.h"

extern "C" {
#include <libavutil/pixfmt.h>
#include <libavutil/rational.h>
}

#include <string>

// How a stored picture is turned to be shown upright: each entry -1, 0 or 1, as in a display
// matrix, where a stored pixel at (x, y) from the picture's centre is shown at
// (x * a + y * c, x * b + y * d), y counting downwards.
struct PictureOrientation
{
    int a = 1;
    int b = 0;
    int c = 0;
    int d = 1;

    // The nearest turn by a multiple of 90 degrees, with or without mirroring, of a display
    // matrix (nine 32-bit numbers, the first two columns in 16.16 fixed point).
    static PictureOrientation fromDisplayMatrix(const std::int32_t matrix[9]);

    bool isIdentity() const { return a == 1 && b == 0 && c == 0 && d == 1; }
    // Whether width and height change places.
    bool swapsSides() const { return a == 0; }
    // Flipped left to right before it is turned.
    bool mirrored() const { return a * d - b * c < 0; }
    // The clockwise turn after the mirroring: 0, 90, 180 or 270.
    int clockwiseDegrees() const;

    bool operator==(const PictureOrientation&) const = default;
};

// The colour description of pictures as their file tags them; "unspecified" where it says
// nothing.
struct ColourTags
{
    AVColorSpace matrix = AVCOL_SPC_UNSPECIFIED;
    AVColorRange range = AVCOL_RANGE_UNSPECIFIED;
    AVColorPrimaries primaries = AVCOL_PRI_UNSPECIFIED;
    AVColorTransferCharacteristic transfer = AVCOL_TRC_UNSPECIFIED;

    static ColourTags of(const AVFrame& picture);
    static ColourTags of(const AVCodecParameters& parameters);
    // Each tag of this one, or of fallback where this one says nothing.
    ColourTags orElse(const ColourTags& fallback) const;
};

// What a video stream says of its pictures: their stored size and format, how they are to be
// turned, the shape of their pixels, whether they are interlaced and their colour tags.
struct StreamPicture
{
    int width = 0;
    int height = 0;
    AVCodecID codec = AV_CODEC_ID_NONE;
    int profile = -99; // FF_PROFILE_UNKNOWN
    AVPixelFormat format = AV_PIX_FMT_NONE;
    PictureOrientation orientation;
    AVRational sampleAspect{0, 1}; // 0:1 when the file says nothing
    bool interlaced = false;
    ColourTags colour;

    static StreamPicture of(const AVStream& stream);

    // Whether the pixels are not square.
    bool hasNonSquarePixels() const;
    // The width at which a stored picture shows its display aspect; the stored width when its
    // pixels are square.
    int displayWidth() const;
};

// The size of the pictures made from a stream's: the stored size, scaled to the display aspect
// and turned upright as the options ask.
struct ShownSize
{
    int width = 0;
    int height = 0;
    // Before the turn: what the stored picture is scaled to.
    int unturnedWidth = 0;
    int unturnedHeight = 0;
};
ShownSize ShownSizeOf(const StreamPicture& stream, const PictureOptions& options);
// The orientation that the options leave of the stream's.
PictureOrientation AppliedOrientation(const StreamPicture& stream, const PictureOptions& options);
