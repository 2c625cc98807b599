#pragma once

#include "platform/shell_launcher.h"

#include <QString>

class QWidget;

// Opens the first JPEG image of folder, or its first BMP image when it has no JPEG, with
// OpenInViewer; tells the user when there is neither. PNG images are never chosen. Returns
// whether an image was handed on and started.
bool ViewFirstImage(QWidget* parent, const QString& folder, const QString& viewerPath,
                    const ShellLauncher& launcher = ShellLauncher());
