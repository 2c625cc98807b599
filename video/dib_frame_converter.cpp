#include "video/dib_frame_converter.h"

#include "video/colour_mapper.h"
#include "video/deinterlacer.h"

extern "C" {
#include <libavutil/pixdesc.h>
#include <libavutil/pixfmt.h>
}

#include <cstring>

namespace {

// The ffmpeg tool's own default, so that our frames match the ones it extracts.
constexpr int kScalerFlags = SWS_BICUBIC;

bool isYcbcr(int format)
{
    const AVPixFmtDescriptor* descriptor = av_pix_fmt_desc_get(static_cast<AVPixelFormat>(format));
    return descriptor != nullptr && descriptor->nb_components >= 3 &&
           (descriptor->flags & (AV_PIX_FMT_FLAG_RGB | AV_PIX_FMT_FLAG_PAL)) == 0;
}

// Tells the scaler the matrix and range to read YCbCr pictures with, leaving the rest as it
// was: the same call the ffmpeg tool's scale filter makes, so that both give the same pixels.
void tellMatrix(SwsContext& scaler, AVColorSpace matrix, AVColorRange range)
{
    int* inverse = nullptr;
    int* table = nullptr;
    int sourceFull = 0;
    int targetFull = 0;
    int brightness = 0;
    int contrast = 0;
    int saturation = 0;
    if (sws_getColorspaceDetails(&scaler, &inverse, &sourceFull, &table, &targetFull, &brightness,
                                 &contrast, &saturation) < 0)
        return;
    sws_setColorspaceDetails(&scaler, sws_getCoefficients(matrix), range == AVCOL_RANGE_JPEG, table,
                             targetFull, brightness, contrast, saturation);
}

} // namespace

bool DibFrameConverter::fits(int width, int height)
{
    const std::int64_t stride = DibStride(width, 24);
    if (stride == 0 || height <= 0)
        return false;
    const auto pixelBytes = static_cast<std::uint64_t>(stride) * static_cast<std::uint64_t>(height);
    return pixelBytes <= kMaxDibBytes - kInfoHeaderSize;
}

DibFrameConverter::DibFrameConverter(const StreamPicture& stream, const PictureOptions& options)
    : m_stream(stream), m_options(options), m_size(ShownSizeOf(stream, options)),
      m_orientation(AppliedOrientation(stream, options)), m_stride(DibStride(m_size.width, 24)),
      m_valid(fits(m_size.width, m_size.height))
{}

DibFrameConverter::~DibFrameConverter() = default;

// The DIB is made on the first conversion into it; a converter that only converts into other
// images never needs it.
bool DibFrameConverter::prepareDib()
{
    if (!m_dib.empty())
        return true;
    if (!m_valid)
        return false;
    const auto pixelBytes =
        static_cast<std::uint64_t>(m_stride) * static_cast<std::uint64_t>(m_size.height);
    m_dib.assign(kInfoHeaderSize + pixelBytes, 0);
    DibWriteInfoHeader(m_dib.data(), m_size.width, m_size.height, 24,
                       static_cast<std::uint32_t>(pixelBytes), 0);
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
    rows->width = m_size.unturnedWidth;
    rows->height = m_size.unturnedHeight;
    if (av_frame_get_buffer(rows.get(), 0) < 0)
        return false;
    m_rows = std::move(rows);
    return true;
}

bool DibFrameConverter::convert(const PictureWindow& pictures)
{
    return prepareDib() && convertInto(pictures, DibPixelData(m_dib.data()));
}

bool DibFrameConverter::convertInto(const PictureWindow& pictures, std::uint8_t* pixels)
{
    if (!isValid() || !pictures.picture)
        return false;
    const AVFrame* picture = pictures.picture->frame.get();
    if (picture->width <= 0 || picture->height <= 0 || picture->format < 0 || !prepareRows())
        return false;

    // A stage that can't take the picture leaves it as it was: a combed or washed-out picture
    // is still the frame.
    AvFramePtr deinterlaced;
    if (needsNeighbours()) {
        if (!m_deinterlacer)
            m_deinterlacer = std::make_unique<Deinterlacer>();
        if ((deinterlaced = m_deinterlacer->deinterlace(pictures)))
            picture = deinterlaced.get();
    }
    const PictureColour colour = ResolvePictureColour(
        ColourTags::of(*picture).orElse(m_stream.colour), picture->width, picture->height,
        static_cast<AVPixelFormat>(picture->format), m_options.matrix);
    AvFramePtr mapped;
    if (const ColourPath path = ColourPathOf(colour, m_options); path != ColourPath::Matrix) {
        if (!m_colourMapper)
            m_colourMapper = std::make_unique<ColourMapper>();
        if ((mapped = m_colourMapper->map(*picture, colour, path)))
            picture = mapped.get();
    }
    if (!scale(*picture, colour))
        return false;
    store(pixels);
    return true;
}

// Into m_rows, at the unturned shown size, in the colours the picture's matrix and range say.
bool DibFrameConverter::scale(const AVFrame& picture, const PictureColour& colour)
{
    ScalerInput input{picture.width, picture.height, picture.format, colour.matrix, colour.range};
    if (!isYcbcr(picture.format)) {
        input.matrix = AVCOL_SPC_UNSPECIFIED;
        input.range = AVCOL_RANGE_UNSPECIFIED;
    }
    if (!m_scaler || input != m_scalerInput) {
        const bool sameFormat = m_scaler && input.width == m_scalerInput.width &&
                                input.height == m_scalerInput.height &&
                                input.format == m_scalerInput.format;
        if (!sameFormat)
            m_scaler.reset(
                sws_getContext(input.width, input.height, static_cast<AVPixelFormat>(input.format),
                               m_size.unturnedWidth, m_size.unturnedHeight, AV_PIX_FMT_BGR24,
                               kScalerFlags, nullptr, nullptr, nullptr));
        m_scalerInput = {};
        if (!m_scaler)
            return false;
        if (input.matrix != AVCOL_SPC_UNSPECIFIED)
            tellMatrix(*m_scaler, input.matrix, input.range);
        m_scalerInput = input;
    }
    // The scaler may write whole SIMD blocks past a row's last pixel, so it fills the padded
    // frame first and the rows are then copied into the DIB's exact layout.
    const int rowsWritten = sws_scale(m_scaler.get(), picture.data, picture.linesize, 0,
                                      picture.height, m_rows->data, m_rows->linesize);
    return rowsWritten == m_size.unturnedHeight;
}

// Stores m_rows bottom-up into the DIB's pixels, turned as the orientation says: each stored
// pixel moves by (a, b) for a step along its row and by (c, d) for a step down.
void DibFrameConverter::store(std::uint8_t* pixels) const
{
    const int width = m_size.unturnedWidth;
    const int height = m_size.unturnedHeight;
    const std::uint8_t* rows = m_rows->data[0];
    const std::ptrdiff_t rowStride = m_rows->linesize[0];
    if (m_orientation.isIdentity()) {
        const auto rowBytes = static_cast<std::size_t>(width) * 3;
        for (int row = 0; row < height; ++row)
            std::memcpy(pixels + static_cast<std::ptrdiff_t>(height - 1 - row) * m_stride,
                        rows + row * rowStride, rowBytes);
        return;
    }
    const PictureOrientation& turn = m_orientation;
    // The DIB is bottom-up: a step down the picture is a step back in memory.
    const std::ptrdiff_t stepX = 3 * turn.a - turn.b * m_stride;
    const std::ptrdiff_t stepY = 3 * turn.c - turn.d * m_stride;
    const int originX = (turn.a < 0 ? width - 1 : 0) + (turn.c < 0 ? height - 1 : 0);
    const int originY = (turn.b < 0 ? width - 1 : 0) + (turn.d < 0 ? height - 1 : 0);
    const std::ptrdiff_t origin =
        static_cast<std::ptrdiff_t>(m_size.height - 1 - originY) * m_stride + 3 * originX;
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = rows + y * rowStride;
        std::ptrdiff_t target = origin + y * stepY;
        for (int x = 0; x < width; ++x, source += 3, target += stepX)
            std::memcpy(pixels + target, source, 3);
    }
}
