#pragma once

#include <string_view>

enum ImageFileType
{
    IMG_TYPE_NONE = 0,
    IMG_TYPE_ZIP = 1,
    IMG_TYPE_RAR = 2,
    IMG_TYPE_JPEG = 3,
    IMG_TYPE_UFO = 4,
    IMG_TYPE_GIF = 5,
    IMG_TYPE_BMP = 6,
    IMG_TYPE_PNG = 7,
};

// The extension of a path: from the last dot of its final component, dot included; empty when
// the final component has no dot.
std::string_view PathExtension(std::string_view path);

// Classifies a path by its extension, case-insensitively. Only JPEG, BMP and PNG are formats the
// program reads and writes; callers treat the other codes like IMG_TYPE_NONE.
ImageFileType GetImageFileType(std::string_view path);
