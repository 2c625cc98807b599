#include "video/picture_type.h"

#include <algorithm>
#include <array>

namespace {

// Picture headers follow the sequence and group headers, well within the first bytes.
constexpr std::size_t kHeaderSearchBytes = 4096;

// The byte after the first start code 00 00 01 `code`, or the end.
std::span<const std::uint8_t> afterStartCode(std::span<const std::uint8_t> bytes, std::uint8_t code)
{
    const std::array<std::uint8_t, 4> startCode{0, 0, 1, code};
    const auto searched = bytes.first(std::min(bytes.size(), kHeaderSearchBytes));
    const auto found =
        std::search(searched.begin(), searched.end(), startCode.begin(), startCode.end());
    if (found == searched.end())
        return {};
    return bytes.subspan(static_cast<std::size_t>(found - searched.begin()) + startCode.size());
}

} // namespace

PictureType PictureTypeOf(AVCodecID codec, std::span<const std::uint8_t> packet)
{
    if (codec == AV_CODEC_ID_MPEG1VIDEO || codec == AV_CODEC_ID_MPEG2VIDEO) {
        // temporal_reference (10 bits), then picture_coding_type (3 bits).
        const auto header = afterStartCode(packet, 0x00);
        if (header.size() < 2)
            return PictureType::Unknown;
        switch ((header[1] >> 3) & 7) {
        case 1:
            return PictureType::I;
        case 2:
            return PictureType::P;
        case 3:
            return PictureType::B;
        default:
            return PictureType::Unknown;
        }
    }
    if (codec == AV_CODEC_ID_MPEG4) {
        const auto header = afterStartCode(packet, 0xB6); // vop_coding_type, 2 bits
        if (header.empty())
            return PictureType::Unknown;
        constexpr std::array<PictureType, 4> types{PictureType::I, PictureType::P, PictureType::B,
                                                   PictureType::S};
        return types[header[0] >> 6];
    }
    return PictureType::Unknown;
}

PictureType PictureTypeOfAv(int type)
{
    switch (type) {
    case AV_PICTURE_TYPE_I:
    case AV_PICTURE_TYPE_SI:
        return PictureType::I;
    case AV_PICTURE_TYPE_P:
    case AV_PICTURE_TYPE_SP:
        return PictureType::P;
    case AV_PICTURE_TYPE_B:
    case AV_PICTURE_TYPE_BI:
        return PictureType::B;
    case AV_PICTURE_TYPE_S:
        return PictureType::S;
    default:
        return PictureType::Unknown;
    }
}
