#pragma once

#include "ui/shell_launcher.h"

#include <QString>

class QWidget;

// Opens the first JPEG image of folder with OpenInViewer, else its first BMP image, else its
// first PNG image; tells the user when there is none. Returns whether an image was handed on and
// started.
bool ViewFirstImage(QWidget* parent, const QString& folder, const QString& viewerPath,
                    const ShellLauncher& launcher = ShellLauncher());
