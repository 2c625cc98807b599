#pragma once

#include "platform/error.h"

#include <string>

class QImage;

// Writes a picture as a PNG file with the best compression; a failed write leaves no partial
// file.
Outcome SavePicturePng(const QImage& picture, const std::string& path);
