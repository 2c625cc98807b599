#include "video/frame_export.h"

#include "image/image_format.h"

#include <cstdio>

std::string_view RecordedExtension(int format)
{
    return imageFormatInfo(RecordedFormat(format)).extension;
}

std::string RecordedFileName(std::string_view folder, int frame, std::string_view extension)
{
    std::string name(folder);
    if (name.empty() || name.back() != '/')
        name += '/';
    char number[16];
    std::snprintf(number, sizeof number, "%06d", frame);
    name += number;
    name += extension;
    return name;
}

SaveImageResult SaveImageByExtension(const std::string& path, CDibImage& image, int quality)
{
    const std::optional<ImageFormat> format = ImageFormatOfPath(path);
    if (!format)
        return SaveImageResult::NotAnImageType;
    return SaveImageFile(*format, path, image, quality, PngCompression::Fast)
               ? SaveImageResult::Written
               : SaveImageResult::Failed;
}
