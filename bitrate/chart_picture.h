#pragma once

#include <string>

class QImage;

// Writes a picture as a PNG file with the best compression. Returns an empty string when the
// whole file was written and the reason otherwise; a failed write leaves no partial file.
std::string SavePicturePng(const QImage& picture, const std::string& path);
