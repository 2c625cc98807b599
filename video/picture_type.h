#pragma once

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "video/picture_coding.h"

#include <cstdint>
#include <span>

// The coding type of the picture a packet holds, read from its picture header: MPEG-1 and
// MPEG-2 video (picture_coding_type) and MPEG-4 Visual (vop_coding_type). Unknown for other codecs
// and for packets without such a header near their start.
PictureType PictureTypeOf(AVCodecID codec, std::span<const std::uint8_t> packet);

// The picture type as FFmpeg's parsers and decoders give it (AVPictureType).
PictureType PictureTypeOfAv(int type);
