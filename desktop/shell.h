#pragma once

#include "desktop/shell_launcher.h"

#include <QString>

// Opens a file with the program the desktop associates with its type. False when the desktop
// could not open it at once; refused is called when the desktop finds out later that nothing can.
bool OpenWithShell(const QString& path, const ShellLauncher& launcher = ShellLauncher(),
                   const ShellLauncher::Refusal& refused = {});

// Opens an image for viewing: in the viewer program at viewerPath, with the image as its one
// argument and the image's folder as its working folder; with the desktop's association
// instead when no viewer is set, when the viewer file is gone or when it cannot be started.
// False, or a call of refused later, when neither could.
bool OpenInViewer(const QString& imagePath, const QString& viewerPath,
                  const ShellLauncher& launcher = ShellLauncher(),
                  const ShellLauncher::Refusal& refused = {});
