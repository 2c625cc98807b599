#pragma once

#include "image/image_format.h"

#include <functional>
#include <string>
#include <string_view>

// The names the batch tools give the files they write.

// Where the Scale tool writes the result of source: the target folder, the source's file name
// without its last extension, and the target format's extension ("photo.2003.jpg" becomes
// FOLDER/photo.2003.bmp). A '/' is put between folder and name when the folder has none; an
// empty folder gives the name alone, never one in the root folder.
std::string ScaleTargetPath(std::string_view targetFolder, std::string_view source,
                            ImageFormat format);

// Whether anything at all is at the path, a dangling link included: it is never written over.
bool NameTaken(const std::string& path);

// The first free numbered name for an Average result: the base name's trailing digits (none
// count as 0) are the start number, written with at least six digits, and the number goes up
// while isTaken says a name is taken (by default while a file or folder of that name exists):
// "avg.jpg" becomes "avg000000.jpg", or "avg000001.jpg" when that one exists; "a123.jpg" becomes
// "a000123.jpg". The numbers end at 999999: the last name tried is then taken even if it exists.
// An empty path stays empty.
std::string NextFreeTargetName(std::string_view target,
                               const std::function<bool(const std::string&)>& isTaken = NameTaken);

// The name of an Average result's copy at width x height: "FOLDER/avg.jpeg" gives
// "FOLDER/avg_800x600.jpg", the extension being that of the target's format.
std::string ResizedCopyPath(std::string_view target, ImageFormat format, int width, int height);
