#pragma once

#include "platform/error.h"

#include <string>

class CDibImage;
class QImage;

// The picture's pixels as a 32-bit image of the image model; false when the picture is empty.
bool DibImageOfPicture(const QImage& picture, CDibImage& image);

// Writes a picture as a PNG file with the best compression; a failed write leaves no partial
// file.
Outcome SavePicturePng(const QImage& picture, const std::string& path);
