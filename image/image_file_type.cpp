#include "image/image_file_type.h"

#include "image/image_format.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

std::string_view PathExtension(std::string_view path)
{
    const size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

ImageFileType GetImageFileType(std::string_view path)
{
    if (const std::optional<ImageFormat> format = ImageFormatOfPath(path)) {
        switch (*format) {
        case ImageFormat::Jpeg:
            return IMG_TYPE_JPEG;
        case ImageFormat::Bmp:
            return IMG_TYPE_BMP;
        case ImageFormat::Png:
            return IMG_TYPE_PNG;
        }
    }
    // The other types the classification knows, which the program neither reads nor writes.
    struct Entry
    {
        std::string_view extension;
        ImageFileType type;
    };
    static constexpr Entry kOthers[] = {
        {".zip", IMG_TYPE_ZIP},
        {".rar", IMG_TYPE_RAR},
        {".gif", IMG_TYPE_GIF},
        {".ufo", IMG_TYPE_UFO},
    };
    std::string extension(PathExtension(path));
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (const Entry& entry : kOthers) {
        if (extension == entry.extension)
            return entry.type;
    }
    return IMG_TYPE_NONE;
}
