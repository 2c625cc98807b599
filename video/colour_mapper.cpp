#include "video/colour_mapper.h"

extern "C" {
#include <libavutil/mastering_display_metadata.h>
}

#include <algorithm>
#include <cstdio>

namespace {

constexpr double kReferenceWhite = 203; // cd/m2, BT.2408
constexpr double kDefaultPeak = 1000;   // cd/m2
constexpr double kHighestPeak = 10000;  // what PQ can code

std::string filtersFor(ColourPath path, double peak)
{
    if (path == ColourPath::WideGamut)
        return "zscale=primaries=bt709:transfer=bt709,format=gbrp";
    char filters[256];
    std::snprintf(filters, sizeof filters,
                  "zscale=transfer=linear:npl=%g,format=gbrpf32le,zscale=primaries=bt709,"
                  "tonemap=tonemap=mobius:peak=%.3f,zscale=transfer=bt709,format=gbrp",
                  kReferenceWhite, peak);
    return filters;
}

} // namespace

double HdrPeak(const AVFrame& picture)
{
    double peak = 0;
    if (const AVFrameSideData* light =
            av_frame_get_side_data(&picture, AV_FRAME_DATA_CONTENT_LIGHT_LEVEL);
        light != nullptr && light->size >= sizeof(AVContentLightMetadata)) {
        peak = reinterpret_cast<const AVContentLightMetadata*>(light->data)->MaxCLL;
    }
    if (const AVFrameSideData* display =
            av_frame_get_side_data(&picture, AV_FRAME_DATA_MASTERING_DISPLAY_METADATA);
        peak <= 0 && display != nullptr && display->size >= sizeof(AVMasteringDisplayMetadata)) {
        const auto* metadata = reinterpret_cast<const AVMasteringDisplayMetadata*>(display->data);
        if (metadata->has_luminance && metadata->max_luminance.den > 0)
            peak = av_q2d(metadata->max_luminance);
    }
    if (!(peak > 0) || picture.color_trc == AVCOL_TRC_ARIB_STD_B67)
        peak = kDefaultPeak; // HLG's nominal display
    return std::clamp(peak, kReferenceWhite, kHighestPeak) / kReferenceWhite;
}

AvFramePtr ColourMapper::map(const AVFrame& picture, const PictureColour& colour, ColourPath path)
{
    // zscale reads the picture's tags: it gets them as resolved, with what was assumed.
    AvFramePtr tagged(av_frame_clone(&picture));
    if (!tagged)
        return nullptr;
    tagged->colorspace = colour.matrix;
    tagged->color_range = colour.range;
    tagged->color_primaries = colour.primaries;
    tagged->color_trc =
        colour.transfer == AVCOL_TRC_UNSPECIFIED ? AVCOL_TRC_BT709 : colour.transfer;

    const std::string filters =
        filtersFor(path, path == ColourPath::ToneMap ? HdrPeak(*tagged) : 1);
    if (filters != m_filters || !m_chain.takes(*tagged)) {
        m_filters.clear();
        if (!m_chain.build(*tagged, filters))
            return nullptr;
        m_filters = filters;
    }
    if (!m_chain.push(tagged.get())) {
        m_chain.reset();
        return nullptr;
    }
    AvFramePtr mapped = m_chain.pull();
    if (!mapped)
        m_chain.reset();
    return mapped;
}
