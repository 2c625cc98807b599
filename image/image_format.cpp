#include "image/image_format.h"

#include "image/dib_image.h"
#include "image/image_file_type.h"
#include "image/jpeg_codec.h"
#include "platform/file_replacement.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr std::array<ImageFormatInfo, 3> kFormats{{
    {ImageFormat::Jpeg, ".jpg", "jpg", "*.jpg"},
    {ImageFormat::Bmp, ".bmp", "bmp", "*.bmp"},
    {ImageFormat::Png, ".png", "png", "*.png"},
}};

} // namespace

std::span<const ImageFormatInfo> imageFormats()
{
    return kFormats;
}

const ImageFormatInfo& imageFormatInfo(ImageFormat format)
{
    return kFormats[static_cast<size_t>(format)];
}

std::optional<ImageFormat> ImageFormatOfPath(std::string_view path)
{
    switch (GetImageFileType(path)) {
    case IMG_TYPE_JPEG:
        return ImageFormat::Jpeg;
    case IMG_TYPE_BMP:
        return ImageFormat::Bmp;
    case IMG_TYPE_PNG:
        return ImageFormat::Png;
    default:
        return std::nullopt;
    }
}

std::optional<ImageFormat> ImageFormatByName(std::string_view name)
{
    if (name == "jpeg")
        return ImageFormat::Jpeg;
    const auto entry =
        std::find_if(kFormats.begin(), kFormats.end(),
                     [name](const ImageFormatInfo& info) { return info.name == name; });
    if (entry == kFormats.end())
        return std::nullopt;
    return entry->format;
}

ImageFormat RecordedFormat(int option)
{
    switch (option) {
    case 1:
        return ImageFormat::Jpeg;
    case 2:
        return ImageFormat::Png;
    default:
        return ImageFormat::Bmp;
    }
}

int RecordedFormatOption(ImageFormat format)
{
    switch (format) {
    case ImageFormat::Jpeg:
        return 1;
    case ImageFormat::Png:
        return 2;
    case ImageFormat::Bmp:
        break;
    }
    return 0;
}

ImageFormat BatchFormat(int typeIndex)
{
    switch (typeIndex) {
    case 0:
        return ImageFormat::Jpeg;
    case 1:
        return ImageFormat::Bmp;
    default:
        return ImageFormat::Png;
    }
}

int BatchFormatIndex(ImageFormat format)
{
    return static_cast<int>(format);
}

bool ImageFormatHolds(ImageFormat format, int width, int height)
{
    // libjpeg's JPEG_MAX_DIMENSION; a bitmap file's header gives its size in 32 bits.
    constexpr int kMostJpegSide = 65500;
    constexpr std::uint64_t kMostBitmapFileBytes = 0xFFFFFFFF;
    switch (format) {
    case ImageFormat::Jpeg:
        return width <= kMostJpegSide && height <= kMostJpegSide;
    case ImageFormat::Bmp:
        return std::uint64_t(DibStride(width, 24)) * std::uint64_t(height) <=
               kMostBitmapFileBytes - 14 - kInfoHeaderSize;
    case ImageFormat::Png:
        break;
    }
    return true;
}

int LoadImageFile(ImageFormat format, const std::string& path, CDibImage& image)
{
    switch (format) {
    case ImageFormat::Jpeg:
        return LoadJpeg(path, image);
    case ImageFormat::Bmp:
        return image.LoadBmp(path) && image.ConvertTo24Bit();
    case ImageFormat::Png:
        return LoadPng(path, image);
    }
    return 0;
}

int SaveImageFile(ImageFormat format, const std::string& path, CDibImage& image, int quality,
                  PngCompression compression)
{
    CFileReplacement file(path);
    return SaveImageFile(format, file, image, quality, compression);
}

int SaveImageFile(ImageFormat format, CFileReplacement& file, CDibImage& image, int quality,
                  PngCompression compression)
{
    switch (format) {
    case ImageFormat::Jpeg:
        return SaveJpeg(file, image, quality);
    case ImageFormat::Bmp:
        return image.SaveBmp(file);
    case ImageFormat::Png:
        return SavePng(file, image, compression);
    }
    return 0;
}
