#pragma once

#include "image/image_format.h"

#include <string>
#include <string_view>

// The names the batch tools give the files they write.

// Where the Scale tool writes the result of source: the target folder, the source's file name
// without its last extension, and the target format's extension ("photo.2003.jpg" becomes
// FOLDER/photo.2003.bmp). A '/' is put between folder and name when the folder has none.
std::string ScaleTargetPath(std::string_view targetFolder, std::string_view source,
                            ImageFormat format);

// The first free numbered name for an Average result: the base name's trailing digits (none
// count as 0) are the start number, written with at least six digits, and the number goes up
// while a file or folder of that name exists: "avg.jpg" becomes "avg000000.jpg", or
// "avg000001.jpg" when that one exists; "a123.jpg" becomes "a000123.jpg". The numbers end at
// 999999: the last name tried is then taken even if it exists. An empty path stays empty.
std::string NextFreeTargetName(std::string_view target);

// The name of an Average result's copy at width x height: "FOLDER/avg.jpeg" gives
// "FOLDER/avg_800x600.jpg", the extension being that of the target's format.
std::string ResizedCopyPath(std::string_view target, ImageFormat format, int width, int height);
