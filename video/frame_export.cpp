#include "video/frame_export.h"

#include "batch/image_file_type.h"
#include "image/dib_image.h"
#include "image/jpeg_codec.h"
#include "image/png_codec.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

std::string_view RecordedExtension(int format)
{
    switch (format) {
    case 1:
        return ".jpg";
    case 2:
        return ".png";
    default:
        return ".bmp";
    }
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
    int written = 0;
    switch (GetImageFileType(path)) {
    case IMG_TYPE_JPEG:
        written = SaveJpeg(path, image, quality);
        break;
    case IMG_TYPE_BMP:
        written = image.SaveBmp(path);
        break;
    case IMG_TYPE_PNG:
        written = SavePng(path, image, PngCompression::Fast);
        break;
    default:
        return SaveImageResult::NotAnImageType;
    }
    return written ? SaveImageResult::Written : SaveImageResult::Failed;
}

std::string MakeSureDirectoryPathExists(const std::string& folder)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (std::filesystem::is_directory(folder))
        return {};
    if (!error)
        error = std::make_error_code(std::errc::not_a_directory);
    return error.message();
}
