#pragma once

#include "image/dib.h"
#include "video/av_handles.h"
#include "video/picture_colour.h"
#include "video/picture_options.h"
#include "video/picture_window.h"
#include "video/stream_picture.h"

#include <cstdint>
#include <memory>

class ColourMapper;
class Deinterlacer;

// Turns the decoded pictures of one stream into packed DIBs: a 40-byte header and 24-bit
// blue-green-red rows, bottom-up and padded to four bytes, the layout of a 24-bit CDibImage.
// Every picture that is shown, saved, recorded or copied comes through here, so all of them
// look alike: deinterlaced, in the colours its matrix, range and bit depth say (tone-mapped
// when it is HDR, brought to BT.709 primaries when its gamut is wider), at its display aspect
// when that is asked for, and turned upright as the stream's display matrix says.
//
// The DIB has the stream's shown size; a picture of another size is scaled to it, as the
// video's own header promised that size.
class DibFrameConverter
{
public:
    DibFrameConverter(const StreamPicture& stream, const PictureOptions& options);
    ~DibFrameConverter();
    DibFrameConverter(const DibFrameConverter&) = delete;
    DibFrameConverter& operator=(const DibFrameConverter&) = delete;

    // False when the size is beyond what the program allocates.
    bool isValid() const { return m_valid; }
    static bool fits(int width, int height);
    int width() const { return m_size.width; }
    int height() const { return m_size.height; }
    // Whether a picture is converted with the pictures of the frames either side of it.
    bool needsNeighbours() const { return m_options.deinterlace && m_stream.interlaced; }

    // Converts the window's picture into the packed DIB; false when its format can't be
    // converted, in which case the DIB holds whatever it held before.
    bool convert(const PictureWindow& pictures);
    // Converts the window's picture into the pixel rows of another 24-bit DIB of the same size.
    bool convertInto(const PictureWindow& pictures, std::uint8_t* pixels);

    // The DIB that convert() fills; null before the first conversion.
    const std::uint8_t* packedDib() const { return m_dib.empty() ? nullptr : m_dib.data(); }
    std::size_t packedDibSize() const { return m_dib.size(); }

private:
    bool prepareDib();
    bool prepareRows();
    bool scale(const AVFrame& picture, const PictureColour& colour);
    void store(std::uint8_t* pixels) const;

    StreamPicture m_stream;
    PictureOptions m_options;
    ShownSize m_size;
    PictureOrientation m_orientation;
    std::int64_t m_stride;
    bool m_valid;
    DibBlock m_dib;
    SwsContextPtr m_scaler;
    // What the scaler was made for, and the matrix and range it was told of: it is made anew,
    // and forgets them, only when the pictures' size or format change.
    struct ScalerInput
    {
        int width = 0;
        int height = 0;
        int format = -1;
        AVColorSpace matrix = AVCOL_SPC_UNSPECIFIED;
        AVColorRange range = AVCOL_RANGE_UNSPECIFIED;

        bool operator==(const ScalerInput&) const = default;
    };
    ScalerInput m_scalerInput;
    AvFramePtr m_rows; // the converted picture, top-down and unturned, before it is stored
    std::unique_ptr<Deinterlacer> m_deinterlacer;
    std::unique_ptr<ColourMapper> m_colourMapper;
};
