#include "video/stream_picture.h"

#include "video/video_limits.h"

extern "C" {
#include <libavutil/display.h>
}

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

// A demuxer copies a file's colour tags as they are, and a hostile file's may lie outside the
// enumerations; such a value is read without naming the enumeration and counts as unspecified.
template <typename Tag>
Tag known(const Tag& tag, int count, Tag unspecified)
{
    static_assert(sizeof(Tag) == sizeof(int));
    int value = 0;
    std::memcpy(&value, &tag, sizeof value);
    return value >= 0 && value < count ? static_cast<Tag>(value) : unspecified;
}

int sign(std::int64_t value)
{
    return (value > 0) - (value < 0);
}

bool isPositive(AVRational ratio)
{
    return ratio.num > 0 && ratio.den > 0;
}

} // namespace

PictureOrientation PictureOrientation::fromDisplayMatrix(const std::int32_t matrix[9])
{
    // A turn by any other angle is shown at the nearest quarter turn: the larger pair of
    // entries says whether the sides change places.
    const std::int64_t a = matrix[0];
    const std::int64_t b = matrix[1];
    const std::int64_t c = matrix[3];
    const std::int64_t d = matrix[4];
    PictureOrientation orientation;
    if (std::llabs(a) + std::llabs(d) >= std::llabs(b) + std::llabs(c)) {
        orientation = {sign(a), 0, 0, sign(d)};
    } else {
        orientation = {0, sign(b), sign(c), 0};
    }
    // A degenerate matrix turns nothing.
    if (orientation.a * orientation.d - orientation.b * orientation.c == 0)
        return {};
    return orientation;
}

int PictureOrientation::clockwiseDegrees() const
{
    // Undoing the mirroring (a flip of the stored x) leaves a pure turn, named by where the
    // stored x axis points.
    const int x = mirrored() ? -a : a;
    const int y = mirrored() ? -b : b;
    if (x == 1)
        return 0;
    if (y == 1)
        return 90;
    if (x == -1)
        return 180;
    return 270;
}

ColourTags ColourTags::of(const AVFrame& picture)
{
    return {known(picture.colorspace, AVCOL_SPC_NB, AVCOL_SPC_UNSPECIFIED),
            known(picture.color_range, AVCOL_RANGE_NB, AVCOL_RANGE_UNSPECIFIED),
            known(picture.color_primaries, AVCOL_PRI_NB, AVCOL_PRI_UNSPECIFIED),
            known(picture.color_trc, AVCOL_TRC_NB, AVCOL_TRC_UNSPECIFIED)};
}

ColourTags ColourTags::of(const AVCodecParameters& parameters)
{
    return {known(parameters.color_space, AVCOL_SPC_NB, AVCOL_SPC_UNSPECIFIED),
            known(parameters.color_range, AVCOL_RANGE_NB, AVCOL_RANGE_UNSPECIFIED),
            known(parameters.color_primaries, AVCOL_PRI_NB, AVCOL_PRI_UNSPECIFIED),
            known(parameters.color_trc, AVCOL_TRC_NB, AVCOL_TRC_UNSPECIFIED)};
}

ColourTags ColourTags::orElse(const ColourTags& fallback) const
{
    ColourTags tags = *this;
    if (tags.matrix == AVCOL_SPC_UNSPECIFIED)
        tags.matrix = fallback.matrix;
    if (tags.range == AVCOL_RANGE_UNSPECIFIED)
        tags.range = fallback.range;
    if (tags.primaries == AVCOL_PRI_UNSPECIFIED)
        tags.primaries = fallback.primaries;
    if (tags.transfer == AVCOL_TRC_UNSPECIFIED)
        tags.transfer = fallback.transfer;
    return tags;
}

StreamPicture StreamPicture::of(const AVStream& stream)
{
    const AVCodecParameters& parameters = *stream.codecpar;
    StreamPicture picture;
    picture.width = parameters.width;
    picture.height = parameters.height;
    picture.codec = parameters.codec_id;
    picture.profile = parameters.profile;
    picture.format = static_cast<AVPixelFormat>(parameters.format);
    picture.colour = ColourTags::of(parameters);
    // The container's pixel shape, else the codec's.
    picture.sampleAspect = isPositive(stream.sample_aspect_ratio) ? stream.sample_aspect_ratio
                           : isPositive(parameters.sample_aspect_ratio)
                               ? parameters.sample_aspect_ratio
                               : AVRational{0, 1};
    const AVFieldOrder fieldOrder =
        known(parameters.field_order, AV_FIELD_BB + 1, AV_FIELD_UNKNOWN);
    picture.interlaced = fieldOrder != AV_FIELD_UNKNOWN && fieldOrder != AV_FIELD_PROGRESSIVE;
    std::size_t size = 0;
    const std::uint8_t* matrix = av_stream_get_side_data(&stream, AV_PKT_DATA_DISPLAYMATRIX, &size);
    if (matrix != nullptr && size >= 9 * sizeof(std::int32_t)) {
        std::int32_t entries[9];
        std::memcpy(entries, matrix, sizeof entries);
        picture.orientation = PictureOrientation::fromDisplayMatrix(entries);
    }
    return picture;
}

bool StreamPicture::hasNonSquarePixels() const
{
    return isPositive(sampleAspect) && sampleAspect.num != sampleAspect.den;
}

int StreamPicture::displayWidth() const
{
    if (!hasNonSquarePixels())
        return width;
    const double shown = std::round(double(width) * sampleAspect.num / sampleAspect.den);
    // A hostile ratio must not ask for a picture larger than the largest one opened.
    const double widest = double(kMaxFramePixels) / std::max(height, 1);
    return static_cast<int>(std::clamp(shown, 1.0, std::min(widest, 65536.0)));
}

PictureOrientation AppliedOrientation(const StreamPicture& stream, const PictureOptions& options)
{
    return options.keepRotation ? PictureOrientation{} : stream.orientation;
}

ShownSize ShownSizeOf(const StreamPicture& stream, const PictureOptions& options)
{
    ShownSize size;
    size.unturnedWidth = options.displayAspect ? stream.displayWidth() : stream.width;
    size.unturnedHeight = stream.height;
    const bool swapped = AppliedOrientation(stream, options).swapsSides();
    size.width = swapped ? size.unturnedHeight : size.unturnedWidth;
    size.height = swapped ? size.unturnedWidth : size.unturnedHeight;
    return size;
}
