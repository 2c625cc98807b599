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

    // Converts the window's picture for a screen: into target's rows, 32-bit (blue, green, red
    // and one unused byte) and top-down, at target's size, which is the shown size or smaller.
    // The colours are those of the DIB.
    bool convertForScreen(const PictureWindow& pictures, AVFrame& target);

    // The DIB that convert() fills; null before the first conversion.
    const std::uint8_t* packedDib() const { return m_dib.empty() ? nullptr : m_dib.data(); }
    std::size_t packedDibSize() const { return m_dib.size(); }

private:
    // What the scaler was made for, and the matrix and range it was told of: it is made anew,
    // and forgets them, only when the pictures' size or format change.
    struct ScalerInput
    {
        int width = 0;
        int height = 0;
        int format = -1;
        AVColorSpace matrix = AVCOL_SPC_UNSPECIFIED;
        AVColorRange range = AVCOL_RANGE_UNSPECIFIED;
        int targetWidth = 0;
        int targetHeight = 0;

        bool operator==(const ScalerInput&) const = default;
    };
    struct Scaler
    {
        SwsContextPtr context;
        ScalerInput input;
    };
    // The picture to scale: deinterlaced and colour-mapped where that is asked for, in one of
    // holders when it is made anew. Null when there is none.
    const AVFrame* preparePicture(const PictureWindow& pictures, AvFramePtr& deinterlaced,
                                  AvFramePtr& mapped, PictureColour& colour);
    bool prepareDib();
    bool prepareRows();
    static bool scale(Scaler& scaler, const AVFrame& picture, const PictureColour& colour,
                      AVFrame& target);
    void store(std::uint8_t* pixels) const;

    StreamPicture m_stream;
    PictureOptions m_options;
    ShownSize m_size;
    PictureOrientation m_orientation;
    std::int64_t m_stride;
    bool m_valid;
    DibBlock m_dib;
    Scaler m_scaler;         // into m_rows
    Scaler m_screenScaler;   // for the screen
    AvFramePtr m_rows;       // the converted picture, top-down and unturned, before it is stored
    AvFramePtr m_screenRows; // the same for a turned picture on the screen
    std::unique_ptr<Deinterlacer> m_deinterlacer;
    std::unique_ptr<ColourMapper> m_colourMapper;
};
