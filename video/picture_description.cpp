#include "video/picture_description.h"

#include "video/picture_colour.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/pixdesc.h>
}

namespace {

std::string nameOr(const char* name, const char* fallback)
{
    return name != nullptr ? name : fallback;
}

std::string matrixNote(MatrixSource source, AVColorSpace tagged)
{
    switch (source) {
    case MatrixSource::UntaggedHd:
        return "assumed: untagged HD";
    case MatrixSource::UntaggedSd:
        return "assumed: untagged SD";
    case MatrixSource::Forced:
        return "forced by the ColorMatrix option; the file says " +
               nameOr(av_color_space_name(tagged), "unknown");
    case MatrixSource::RgbFormat:
        return "the pixels are RGB";
    case MatrixSource::Tagged:
        break;
    }
    return {};
}

std::string rangeNote(RangeSource source)
{
    switch (source) {
    case RangeSource::FullRangeFormat:
        return "assumed: full-range pixel format";
    case RangeSource::Untagged:
        return "assumed: untagged";
    case RangeSource::Tagged:
        break;
    }
    return {};
}

std::string conversion(ColourPath path, const PictureColour& colour)
{
    switch (path) {
    case ColourPath::ToneMap:
        return "HDR tone-mapped to SDR with BT.709 primaries (Mobius)";
    case ColourPath::WideGamut:
        return "primaries converted to BT.709";
    case ColourPath::Matrix:
        if (colour.isHdr())
            return "HDR, shown as stored (the ToneMap option is off)";
        break;
    }
    return {};
}

PictureDescription::Ratio reduced(std::int64_t num, std::int64_t den)
{
    int reducedNum = 0;
    int reducedDen = 0;
    if (num <= 0 || den <= 0 || !av_reduce(&reducedNum, &reducedDen, num, den, 1 << 30))
        return {};
    return {reducedNum, reducedDen};
}

} // namespace

PictureDescription DescribePicture(const StreamPicture& stream, const PictureOptions& options,
                                   const AVFrame* first)
{
    PictureDescription description;
    description.storedWidth = stream.width;
    description.storedHeight = stream.height;
    const ShownSize shown = ShownSizeOf(stream, options);
    description.shownWidth = shown.width;
    description.shownHeight = shown.height;
    description.codec = nameOr(avcodec_get_name(stream.codec), "unknown");
    description.profile = nameOr(avcodec_profile_name(stream.codec, stream.profile), "");

    const AVPixelFormat format =
        first != nullptr ? static_cast<AVPixelFormat>(first->format) : stream.format;
    const AVPixFmtDescriptor* pixels = av_pix_fmt_desc_get(format);
    description.pixelFormat = pixels != nullptr ? pixels->name : "unknown";
    description.bitDepth = pixels != nullptr ? pixels->comp[0].depth : 0;

    const ColourTags tags =
        first != nullptr ? ColourTags::of(*first).orElse(stream.colour) : stream.colour;
    const PictureColour colour = ResolvePictureColour(
        tags, first != nullptr ? first->width : stream.width,
        first != nullptr ? first->height : stream.height, format, options.matrix);
    description.matrix = colour.matrixSource == MatrixSource::RgbFormat
                             ? "none"
                             : nameOr(av_color_space_name(colour.matrix), "unknown");
    description.matrixNote = matrixNote(colour.matrixSource, tags.matrix);
    description.range = colour.range == AVCOL_RANGE_JPEG ? "full" : "limited";
    description.rangeNote = rangeNote(colour.rangeSource);
    description.primaries = tags.primaries == AVCOL_PRI_UNSPECIFIED
                                ? "unknown"
                                : nameOr(av_color_primaries_name(tags.primaries), "unknown");
    description.transfer = tags.transfer == AVCOL_TRC_UNSPECIFIED
                               ? "unknown"
                               : nameOr(av_color_transfer_name(tags.transfer), "unknown");
    description.conversion = conversion(ColourPathOf(colour, options), colour);

    description.clockwiseRotation = stream.orientation.clockwiseDegrees();
    description.mirrored = stream.orientation.mirrored();
    description.orientationKept = options.keepRotation && !stream.orientation.isIdentity();
    description.interlaced = stream.interlaced;
    description.deinterlaced = stream.interlaced && options.deinterlace;
    description.nonSquarePixels = stream.hasNonSquarePixels();
    description.sampleAspect = reduced(stream.sampleAspect.num, stream.sampleAspect.den);
    const PictureDescription::Ratio square{1, 1};
    const PictureDescription::Ratio pixelShape =
        description.sampleAspect.den > 0 ? description.sampleAspect : square;
    description.displayAspect = reduced(std::int64_t(stream.width) * pixelShape.num,
                                        std::int64_t(stream.height) * pixelShape.den);
    return description;
}
