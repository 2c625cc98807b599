#include "image/image_format.h"

#include "image/dib_image.h"
#include "image/image_file_type.h"
#include "image/jpeg_codec.h"
#include "platform/file_replacement.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>

namespace {

constexpr std::string_view kJpegExtensions[] = {".jpg", ".jpeg"};
constexpr std::string_view kBmpExtensions[] = {".bmp", ".dib"};
constexpr std::string_view kPngExtensions[] = {".png"};

// Indexed by ImageFormat.
constexpr std::array<ImageFormatInfo, 3> kFormats{{
    {ImageFormat::Jpeg, ".jpg", "jpg", "*.jpg", kJpegExtensions},
    {ImageFormat::Bmp, ".bmp", "bmp", "*.bmp", kBmpExtensions},
    {ImageFormat::Png, ".png", "png", "*.png", kPngExtensions},
}};

// Indexed by the number OPTION_JPEG stores.
constexpr std::array<ImageFormat, 3> kRecordedFormats{ImageFormat::Bmp, ImageFormat::Jpeg,
                                                      ImageFormat::Png};

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::span<const ImageFormatInfo> imageFormats()
{
    return kFormats;
}

const ImageFormatInfo& imageFormatInfo(ImageFormat format)
{
    return kFormats[static_cast<size_t>(format)];
}

std::string ImageFormatPatterns()
{
    std::string patterns;
    for (const ImageFormatInfo& info : kFormats)
        patterns.append(patterns.empty() ? "" : ";").append(info.pattern);
    return patterns;
}

std::optional<ImageFormat> ImageFormatOfPath(std::string_view path)
{
    const std::string_view extension = PathExtension(path);
    for (const ImageFormatInfo& info : kFormats) {
        for (const std::string_view known : info.extensions) {
            if (equalsIgnoringCase(extension, known))
                return info.format;
        }
    }
    return std::nullopt;
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

std::span<const ImageFormat> recordedFormats()
{
    return kRecordedFormats;
}

ImageFormat RecordedFormat(int option)
{
    return option >= 0 && size_t(option) < kRecordedFormats.size() ? kRecordedFormats[option]
                                                                   : ImageFormat::Bmp;
}

int RecordedFormatOption(ImageFormat format)
{
    return int(std::find(kRecordedFormats.begin(), kRecordedFormats.end(), format) -
               kRecordedFormats.begin());
}

ImageFormat BatchFormat(int typeIndex)
{
    return typeIndex >= 0 && size_t(typeIndex) < kFormats.size() ? kFormats[typeIndex].format
                                                                 : ImageFormat::Png;
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
                  PngCompression compression, const ImageProvenance* provenance)
{
    CFileReplacement file(path);
    return SaveImageFile(format, file, image, quality, compression, provenance);
}

int SaveImageFile(ImageFormat format, CFileReplacement& file, CDibImage& image, int quality,
                  PngCompression compression, const ImageProvenance* provenance)
{
    switch (format) {
    case ImageFormat::Jpeg:
        return SaveJpeg(file, image, quality, provenance);
    case ImageFormat::Bmp:
        return image.SaveBmp(file);
    case ImageFormat::Png:
        return SavePng(file, image, compression, provenance);
    }
    return 0;
}
