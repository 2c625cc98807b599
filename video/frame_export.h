#pragma once

// Writing decoded frames to image files: the names a recording gives them, the type a file name
// asks for, and the target folder that must exist before a recording starts.

#include "image/image_format.h"
#include "platform/error.h"

#include <string>
#include <string_view>

class CDibImage;

// The extension of recorded frames for the OPTION_JPEG value: 1 JPEG, 2 PNG, anything else BMP.
std::string_view RecordedExtension(int format);

// folder, a "/" unless it already ends with one, the frame number with "%06d" and the extension:
// frame 7 into "/tmp/out" as JPEG is "/tmp/out/000007.jpg".
std::string RecordedFileName(std::string_view folder, int frame, std::string_view extension);

enum class SaveImageResult
{
    Written,
    NotAnImageType, // the extension is not one of JPEG, BMP or PNG
    Failed,         // the writer could not create or complete the file
};

// Writes a 24-bit image in the type its path's extension names: JPEG at the given quality, BMP,
// or PNG with fast compression. A failure inside the JPEG library or while writing a bitmap
// throws its exception (CJPEGException or CFileException) with the error's text.
SaveImageResult SaveImageByExtension(const std::string& path, CDibImage& image, int quality);

// Writes a 24-bit image as a file of format: JPEG at the given quality, BMP, or PNG with fast
// compression.
Outcome SaveImage(ImageFormat format, const std::string& path, CDibImage& image, int quality);

// The message for an image file that could not be written: "Sorry, can't write the file PATH."
// followed by the system's reason for error, when there is one (error is an errno value or 0).
std::string CantWriteFileText(const std::string& path, int error);

// Creates every missing folder of the path. Returns an empty string when the folder exists
// afterwards, otherwise the system's reason. An empty path names no folder and is refused.
std::string MakeSureDirectoryPathExists(const std::string& folder);
