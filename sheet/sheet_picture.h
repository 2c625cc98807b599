#pragma once

#include "image/image_format.h"
#include "platform/error.h"
#include "video/contact_sheet.h"

#include <QImage>

#include <string>

class VideoReader;

// Draws the contact sheet of an open video whose frames can be decoded: its header, then each
// cell's frame and frame text, the frames decoded one by one in the reader's picture options.
// Qt draws text only inside a Qt Gui application, which needs no screen.
Result<QImage> DrawContactSheet(VideoReader& reader, const SheetGrid& grid);

// Writes a sheet as a still of format (JPEG at quality), as frames are written.
Outcome SaveContactSheet(const QImage& sheet, ImageFormat format, const std::string& path,
                         int quality);
