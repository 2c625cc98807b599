#include "video/video_file_types.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::array<VideoFileType, 32> kTypes{{
    {"avi", "video/x-msvideo"},
    {"divx", "video/x-msvideo"},
    {"mp4", "video/mp4"},
    {"m4v", "video/mp4"},
    {"mov", "video/quicktime"},
    {"qt", "video/quicktime"},
    {"mkv", "video/x-matroska"},
    {"webm", "video/webm"},
    // MPEG transport streams, also as Blu-ray and camcorders write them.
    {"ts", "video/mp2t"},
    {"m2t", "video/mp2t"},
    {"m2ts", "video/mp2t"},
    {"mts", "video/mp2t"},
    // MPEG program streams, also as DVDs and camcorders write them (".mod" is the desktop's
    // name for tracker music).
    {"mpg", "video/mpeg"},
    {"mpeg", "video/mpeg"},
    {"mpe", "video/mpeg"},
    {"vob", "video/mpeg"},
    {"mod", ""},
    // Elementary streams, as encoders write them without a container.
    {"h264", ""},
    {"264", ""},
    {"hevc", ""},
    {"h265", ""},
    {"265", ""},
    {"m2v", ""},
    {"flv", "video/x-flv"},
    {"f4v", "video/x-flv"},
    {"wmv", "video/x-ms-wmv"},
    {"asf", "application/vnd.ms-asf"},
    {"ogv", "video/ogg"},
    {"ogg", "video/ogg"},
    {"ogm", "video/ogg"},
    {"3gp", "video/3gpp"},
    {"3g2", "video/3gpp2"},
}};

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::span<const VideoFileType> videoFileTypes()
{
    return kTypes;
}

bool HasVideoFileExtension(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.find('/', dot) != std::string_view::npos)
        return false;
    const std::string_view suffix = name.substr(dot + 1);
    return std::any_of(kTypes.begin(), kTypes.end(), [suffix](const VideoFileType& type) {
        return std::equal(suffix.begin(), suffix.end(), type.extension.begin(),
                          type.extension.end(), [](char a, char b) { return lower(a) == b; });
    });
}
