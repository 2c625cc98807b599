#pragma once

#include "desktop/shell_launcher.h"

#include <QString>

class QWidget;

// Opens the image with OpenInViewer; tells the user over parent when nothing could open it, at
// once or when the desktop finds out. Returns whether it was handed on.
bool ViewImage(QWidget* parent, const QString& imagePath, const QString& viewerPath,
               const ShellLauncher& launcher = ShellLauncher());

// Opens the first JPEG image of folder with ViewImage, else its first BMP image, else its first
// PNG image; tells the user when there is none. Returns whether an image was handed on.
bool ViewFirstImage(QWidget* parent, const QString& folder, const QString& viewerPath,
                    const ShellLauncher& launcher = ShellLauncher());
