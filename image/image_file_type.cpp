#include "image/image_file_type.h"

#include <algorithm>
#include <cctype>

namespace {

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

} // namespace

std::string_view PathExtension(std::string_view path)
{
    const size_t slash = path.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

ImageFileType GetImageFileType(std::string_view path)
{
    const std::string_view extension = PathExtension(path);
    if (extension.empty())
        return IMG_TYPE_NONE;
    struct Entry
    {
        std::string_view extension;
        ImageFileType type;
    };
    static constexpr Entry kTable[] = {
        {".zip", IMG_TYPE_ZIP},   {".rar", IMG_TYPE_RAR}, {".jpg", IMG_TYPE_JPEG},
        {".jpeg", IMG_TYPE_JPEG}, {".gif", IMG_TYPE_GIF}, {".ufo", IMG_TYPE_UFO},
        {".bmp", IMG_TYPE_BMP},   {".dib", IMG_TYPE_BMP}, {".png", IMG_TYPE_PNG},
    };
    for (const Entry& entry : kTable) {
        if (equalsIgnoringCase(extension, entry.extension))
            return entry.type;
    }
    return IMG_TYPE_NONE;
}
