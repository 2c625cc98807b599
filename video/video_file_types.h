#pragma once

#include <span>
#include <string_view>

// A type of video file that the program opens, known by its name's extension.
struct VideoFileType
{
    std::string_view extension; // lower case, without the dot
    std::string_view mimeType;  // the desktop's name for it; empty where it has none of its own
};

// Every type of video file the program offers to open, the one list behind the Open dialog's
// filter, the videos a window takes when dropped, and the MIME types of the desktop entry (and
// so of a package). Each was tried on a clip that the ffmpeg tool made of that type; FFmpeg reads
// more, which the Open dialog's "All files" still opens.
std::span<const VideoFileType> videoFileTypes();

// Whether the name ends in one of those extensions, in any case.
bool HasVideoFileExtension(std::string_view name);
