#pragma once

// Writing decoded frames to image files: the names a recording gives them and the type a file
// name asks for.

#include "image/image_format.h"
#include "image/image_provenance.h"
#include "platform/error.h"

#include <string>
#include <string_view>

class CDibImage;
class VideoReader;

// The extension of recorded frames for the OPTION_JPEG value: 1 JPEG, 2 PNG, anything else BMP.
std::string_view RecordedExtension(int format);

// folder, a "/" unless it already ends with one, the name and the extension.
std::string FileInFolder(std::string_view folder, std::string_view name,
                         std::string_view extension);
// folder, a "/" unless it already ends with one, the frame's name by the default pattern and
// the extension: frame 7 into "/tmp/out" as JPEG is "/tmp/out/000007.jpg".
std::string RecordedFileName(std::string_view folder, int frame, std::string_view extension);

// Where frame of the reader's video comes from: the file, the frame and its time. The image
// writers keep only the file's base name, so that a saved picture tells nothing of where the
// video is kept.
ImageProvenance ProvenanceOf(const VideoReader& reader, int frame);

// Writes a 24-bit image as a file of format: JPEG at the given quality, BMP, or PNG with fast
// compression; JPEG and PNG files carry the provenance when there is one.
Outcome SaveImage(ImageFormat format, const std::string& path, CDibImage& image, int quality,
                  const ImageProvenance* provenance = nullptr);
