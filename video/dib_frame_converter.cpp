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

const AVFrame* DibFrameConverter::preparePicture(const PictureWindow& pictures,
                                                 AvFramePtr& deinterlaced, AvFramePtr& mapped,
                                                 PictureColour& colour)
{
    if (!isValid() || !pictures.picture)
        return nullptr;
    const AVFrame* picture = pictures.picture->frame.get();
    if (picture->width <= 0 || picture->height <= 0 || picture->format < 0)
        return nullptr;

    // A stage that can't take the picture leaves it as it was: a combed or washed-out picture
    // is still the frame.
    if (needsNeighbours()) {
        if (!m_deinterlacer)
            m_deinterlacer = std::make_unique<Deinterlacer>();
        if ((deinterlaced = m_deinterlacer->deinterlace(pictures)))
            picture = deinterlaced.get();
    }
    colour = ResolvePictureColour(ColourTags::of(*picture).orElse(m_stream.colour), picture->width,
                                  picture->height, static_cast<AVPixelFormat>(picture->format),
                                  m_options.matrix);
    if (const ColourPath path = ColourPathOf(colour, m_options); path != ColourPath::Matrix) {
        if (!m_colourMapper)
            m_colourMapper = std::make_unique<ColourMapper>();
        if ((mapped = m_colourMapper->map(*picture, colour, path)))
            picture = mapped.get();
    }
    return picture;
}

bool DibFrameConverter::convertInto(const PictureWindow& pictures, std::uint8_t* pixels)
{
    AvFramePtr deinterlaced;
    AvFramePtr mapped;
    PictureColour colour;
    const AVFrame* picture = preparePicture(pictures, deinterlaced, mapped, colour);
    if (!picture || !prepareRows() || !scale(m_scaler, *picture, colour, *m_rows))
        return false;
    store(pixels);
    return true;
}

bool DibFrameConverter::convertForScreen(const PictureWindow& pictures, AVFrame& target)
{
    AvFramePtr deinterlaced;
    AvFramePtr mapped;
    PictureColour colour;
    const AVFrame* picture = preparePicture(pictures, deinterlaced, mapped, colour);
    if (!picture || target.width <= 0 || target.height <= 0)
        return false;
    if (m_orientation.isIdentity())
        return scale(m_screenScaler, *picture, colour, target);
    // Scaled unturned first, then turned into the target.
    const int width = m_orientation.swapsSides() ? target.height : target.width;
    const int height = m_orientation.swapsSides() ? target.width : target.height;
    if (!m_screenRows || m_screenRows->width != width || m_screenRows->height != height) {
        AvFramePtr rows(av_frame_alloc());
        if (!rows)
            return false;
        rows->format = AV_PIX_FMT_BGR0;
        rows->width = width;
        rows->height = height;
        if (av_frame_get_buffer(rows.get(), 0) < 0)
            return false;
        m_screenRows = std::move(rows);
    }
    if (!scale(m_screenScaler, *picture, colour, *m_screenRows))
        return false;
    const PictureOrientation& turn = m_orientation;
    const std::ptrdiff_t stride = target.linesize[0];
    const std::ptrdiff_t stepX = 4 * turn.a + turn.b * stride;
    const std::ptrdiff_t stepY = 4 * turn.c + turn.d * stride;
    const int originX = (turn.a < 0 ? width - 1 : 0) + (turn.c < 0 ? height - 1 : 0);
    const int originY = (turn.b < 0 ? width - 1 : 0) + (turn.d < 0 ? height - 1 : 0);
    std::uint8_t* pixels = target.data[0] + static_cast<std::ptrdiff_t>(originY) * stride +
                           4 * static_cast<std::ptrdiff_t>(originX);
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* source = m_screenRows->data[0] + y * m_screenRows->linesize[0];
        std::uint8_t* row = pixels + y * stepY;
        for (int x = 0; x < width; ++x, source += 4, row += stepX)
            std::memcpy(row, source, 4);
    }
    return true;
}

// Into target, at its size and in its format, in the colours the picture's matrix and range
// say.
bool DibFrameConverter::scale(Scaler& scaler, const AVFrame& picture, const PictureColour& colour,
                              AVFrame& target)
{
    ScalerInput input{picture.width, picture.height, picture.format, colour.matrix,
                      colour.range,  target.width,   target.height};
    if (!isYcbcr(picture.format)) {
        input.matrix = AVCOL_SPC_UNSPECIFIED;
        input.range = AVCOL_RANGE_UNSPECIFIED;
    }
    if (!scaler.context || input != scaler.input) {
        const ScalerInput& made = scaler.input;
        const bool sameFormat = scaler.context && input.width == made.width &&
                                input.height == made.height && input.format == made.format &&
                                input.targetWidth == made.targetWidth &&
                                input.targetHeight == made.targetHeight;
        if (!sameFormat)
            scaler.context.reset(sws_getContext(
                input.width, input.height, static_cast<AVPixelFormat>(input.format), target.width,
                target.height, static_cast<AVPixelFormat>(target.format), kScalerFlags, nullptr,
                nullptr, nullptr));
        scaler.input = {};
        if (!scaler.context)
            return false;
        if (input.matrix != AVCOL_SPC_UNSPECIFIED)
            tellMatrix(*scaler.context, input.matrix, input.range);
        scaler.input = input;
    }
    // The scaler may write whole SIMD blocks past a row's last pixel: the target is a padded
    // frame.
    const int rowsWritten = sws_scale(scaler.context.get(), picture.data, picture.linesize, 0,
                                      picture.height, target.data, target.linesize);
    return rowsWritten == target.height;
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
