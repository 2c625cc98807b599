#include "video/picture_colour.h"

extern "C" {
#include <libavutil/pixdesc.h>
}

namespace {

bool isRgbFormat(AVPixelFormat format)
{
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(format);
    return descriptor != nullptr &&
           (descriptor->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL)) != 0;
}

bool isFullRangeFormat(AVPixelFormat format)
{
    switch (format) {
    case AV_PIX_FMT_YUVJ420P:
    case AV_PIX_FMT_YUVJ422P:
    case AV_PIX_FMT_YUVJ444P:
    case AV_PIX_FMT_YUVJ440P:
    case AV_PIX_FMT_YUVJ411P:
        return true;
    default:
        return false;
    }
}

// The matrices that swscale knows; any other tag is read as the size suggests.
bool isKnownMatrix(AVColorSpace matrix)
{
    switch (matrix) {
    case AVCOL_SPC_BT709:
    case AVCOL_SPC_FCC:
    case AVCOL_SPC_BT470BG:
    case AVCOL_SPC_SMPTE170M:
    case AVCOL_SPC_SMPTE240M:
    case AVCOL_SPC_BT2020_NCL:
        return true;
    default:
        return false;
    }
}

} // namespace

bool PictureColour::isHdr() const
{
    return transfer == AVCOL_TRC_SMPTE2084 || transfer == AVCOL_TRC_ARIB_STD_B67;
}

bool PictureColour::isWideGamut() const
{
    return primaries == AVCOL_PRI_BT2020 || primaries == AVCOL_PRI_SMPTE431 ||
           primaries == AVCOL_PRI_SMPTE432;
}

PictureColour ResolvePictureColour(const ColourTags& tags, int width, int height,
                                   AVPixelFormat format, ColorMatrixChoice choice)
{
    PictureColour colour;
    colour.primaries = tags.primaries;
    colour.transfer = tags.transfer;
    if (isRgbFormat(format)) {
        colour.matrix = AVCOL_SPC_RGB;
        colour.matrixSource = MatrixSource::RgbFormat;
    } else if (choice != ColorMatrixChoice::Auto) {
        colour.matrix = choice == ColorMatrixChoice::Bt709 ? AVCOL_SPC_BT709 : AVCOL_SPC_BT470BG;
        colour.matrixSource = MatrixSource::Forced;
    } else if (isKnownMatrix(tags.matrix)) {
        colour.matrix = tags.matrix;
    } else if (width >= 1280 || height > 576) {
        colour.matrix = AVCOL_SPC_BT709;
        colour.matrixSource = MatrixSource::UntaggedHd;
    } else {
        colour.matrix = AVCOL_SPC_BT470BG;
        colour.matrixSource = MatrixSource::UntaggedSd;
    }

    if (tags.range == AVCOL_RANGE_MPEG || tags.range == AVCOL_RANGE_JPEG) {
        colour.range = tags.range;
    } else if (isFullRangeFormat(format) || isRgbFormat(format)) {
        colour.range = AVCOL_RANGE_JPEG;
        colour.rangeSource = RangeSource::FullRangeFormat;
    } else {
        colour.range = AVCOL_RANGE_MPEG;
        colour.rangeSource = RangeSource::Untagged;
    }
    // An HDR transfer without primaries is BT.2100's, whose primaries are BT.2020's.
    if (colour.isHdr() && colour.primaries == AVCOL_PRI_UNSPECIFIED)
        colour.primaries = AVCOL_PRI_BT2020;
    return colour;
}

ColourPath ColourPathOf(const PictureColour& colour, const PictureOptions& options)
{
    if (colour.isHdr())
        return options.toneMap ? ColourPath::ToneMap : ColourPath::Matrix;
    return colour.isWideGamut() ? ColourPath::WideGamut : ColourPath::Matrix;
}
