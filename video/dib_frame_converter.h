#pragma once

#include "image/dib.h"
#include "video/av_handles.h"

#include <cstdint>

// Turns decoded pictures into one packed DIB of a fixed size: a 40-byte header and 24-bit
// blue-green-red rows, bottom-up and padded to four bytes, the layout of a 24-bit CDibImage.
// A picture of another size is scaled to it, as the video's own header promised that size.
class DibFrameConverter
{
public:
    DibFrameConverter(int width, int height);
    DibFrameConverter(const DibFrameConverter&) = delete;
    DibFrameConverter& operator=(const DibFrameConverter&) = delete;

    // False when the size is beyond what the program allocates.
    bool isValid() const { return m_valid; }
    static bool fits(int width, int height);
    int width() const { return m_width; }
    int height() const { return m_height; }

    // Converts a picture into the packed DIB; false when its format can't be converted, in which
    // case the DIB holds whatever it held before.
    bool convert(const AVFrame& picture);
    // Converts a picture into the pixel rows of another 24-bit DIB of the same size.
    bool convertInto(const AVFrame& picture, std::uint8_t* pixels);

    // The DIB that convert() fills; null before the first conversion.
    const std::uint8_t* packedDib() const { return m_dib.empty() ? nullptr : m_dib.data(); }
    std::size_t packedDibSize() const { return m_dib.size(); }

private:
    bool prepareDib();
    bool prepareRows();

    int m_width;
    int m_height;
    std::int64_t m_stride;
    bool m_valid;
    DibBlock m_dib;
    SwsContextPtr m_scaler;
    AvFramePtr m_rows; // the converted picture, top-down, before it is stored bottom-up
};
