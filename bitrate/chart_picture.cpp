#include "bitrate/chart_picture.h"

#include "image/dib_image.h"
#include "image/png_codec.h"

#include <QImage>

#include <cerrno>

bool DibImageOfPicture(const QImage& picture, CDibImage& image)
{
    // 32-bit pixels in memory order blue, green, red and an unused byte: a bitmap as the image
    // model takes it.
    const QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
    CBitmapBits bitmap;
    bitmap.width = pixels.width();
    bitmap.height = pixels.height();
    bitmap.bitsPerPixel = 32;
    bitmap.bits = pixels.constBits();
    bitmap.bytesPerLine = pixels.bytesPerLine();
    return !pixels.isNull() && image.CreateFromBitmap(bitmap, nullptr);
}

Outcome SavePicturePng(const QImage& picture, const std::string& path)
{
    CDibImage image;
    if (!DibImageOfPicture(picture, image))
        return Error{Failure::EmptyPicture, path};
    errno = 0;
    if (SavePng(path, image, PngCompression::Best))
        return Done{};
    return Error{Failure::WriteFile, path, errno};
}
