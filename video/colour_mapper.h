#pragma once

#include "video/filter_chain.h"
#include "video/picture_colour.h"

#include <string>

// Brings wide-gamut and HDR pictures to 8-bit RGB with BT.709 primaries and transfer, with
// libavfilter's zscale and tonemap, for what swscale can't do: convert primaries, and map the
// light of an HDR picture into the range of an SDR one.
//
// HDR pictures are taken to linear light with the reference white of BT.2408 (203 cd/m2) as
// 1.0, so that the white of SDR material stays white and the tones below it keep their values;
// the Mobius operator then leaves the tones below its knee as they are and rolls the highlights
// up to the picture's peak off smoothly.
class ColourMapper
{
public:
    // The picture as planar 8-bit RGB (AV_PIX_FMT_GBRP); null when the filters can't take it.
    AvFramePtr map(const AVFrame& picture, const PictureColour& colour, ColourPath path);

private:
    FilterChain m_chain;
    std::string m_filters; // of the chain built
};

// The brightest light of an HDR picture in multiples of the reference white, as its content
// light level or its mastering display says; 1000 cd/m2, the common mastering peak, when it
// says nothing.
double HdrPeak(const AVFrame& picture);
