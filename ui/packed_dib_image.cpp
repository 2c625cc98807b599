#include "ui/packed_dib_image.h"

#include "image/dib.h"

QImage ImageFromPackedDib(const std::uint8_t* packedDib)
{
    if (packedDib == nullptr)
        return {};
    const int width = DibPixelWidth(packedDib);
    const int height = DibPixelHeight(packedDib);
    const QImage rows(DibPixelData(packedDib), width, height,
                      static_cast<qsizetype>(DibStride(width, 24)), QImage::Format_BGR888);
    return rows.mirrored(false, true).convertToFormat(QImage::Format_RGB32);
}
