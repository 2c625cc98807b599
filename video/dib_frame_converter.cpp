#include "video/dib_frame_converter.h"

extern "C" {
#include <libavutil/pixfmt.h>
}

#include <cstring>

namespace {

// The ffmpeg tool's own default, so that our frames match the ones it extracts.
constexpr int kScalerFlags = SWS_BICUBIC;

} // namespace

bool DibFrameConverter::fits(int width, int height)
{
    const std::int64_t stride = DibStride(width, 24);
    if (stride == 0 || height <= 0)
        return false;
    const auto pixelBytes = static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(height);
    return pixelBytes <= kMaxDibBytes - kInfoHeaderSize;
}

DibFrameConverter::DibFrameConverter(int width, int height)
    : m_width(width), m_height(height), m_stride(DibStride(width, 24)), m_valid(fits(width, height))
{}

// The DIB is made on the first conversion into it; a converter that only converts into other
// images never needs it.
bool DibFrameConverter::prepareDib()
{
    if (!m_dib.empty())
        return true;
    if (!m_valid)
        return false;
    const auto pixelBytes =
        static_cast<std::uint64_t>(m_stride) * static_cast<std::uint64_t>(m_height);
    m_dib.assign(kInfoHeaderSize + pixelBytes, 0);
    DibWriteInfoHeader(m_dib.data(), m_width, m_height, 24, static_cast<std::uint32_t>(pixelBytes),
                       0);
    return true;
}

bool DibFrameConverter::prepareRows()
{
    if (m_rows)
        return true;
    AvFramePtr rows(av_frame_alloc());
    if (!rows)
        return false;
    rows->format = AV_PIX_FMT_BGR24;
    rows->width = m_width;
    rows->height = m_height;
    if (av_frame_get_buffer(rows.get(), 0) < 0)
        return false;
    m_rows = std::move(rows);
    return true;
}

bool DibFrameConverter::convert(const AVFrame& picture)
{
    return prepareDib() && convertInto(picture, DibPixelData(m_dib.data()));
}

bool DibFrameConverter::convertInto(const AVFrame& picture, std::uint8_t* pixels)
{
    if (!isValid() || picture.width <= 0 || picture.height <= 0 || picture.format < 0)
        return false;
    if (!prepareRows())
        return false;

    m_scaler.reset(sws_getCachedContext(m_scaler.release(), picture.width, picture.height,
                                        static_cast<AVPixelFormat>(picture.format), m_width,
                                        m_height, AV_PIX_FMT_BGR24, kScalerFlags, nullptr, nullptr,
                                        nullptr));
    if (!m_scaler)
        return false;
    // The scaler may write whole SIMD blocks past a row's last pixel, so it fills the padded
    // frame first and the rows are then copied into the DIB's exact layout.
    const int rowsWritten = sws_scale(m_scaler.get(), picture.data, picture.linesize, 0,
                                      picture.height, m_rows->data, m_rows->linesize);
    if (rowsWritten != m_height)
        return false;

    const auto rowBytes = static_cast<std::size_t>(m_width) * 3;
    for (int row = 0; row < m_height; ++row) {
        std::uint8_t* target = pixels + static_cast<std::ptrdiff_t>(m_height - 1 - row) * m_stride;
        std::memcpy(target,
                    m_rows->data[0] + static_cast<std::ptrdiff_t>(row) * m_rows->linesize[0],
                    rowBytes);
    }
    return true;
}
