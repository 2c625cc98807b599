#include "desktop/shell.h"

#include <QFileInfo>
#include <QUrl>

bool OpenWithShell(const QString& path, const ShellLauncher& launcher,
                   const ShellLauncher::Refusal& refused)
{
    return launcher.openUrl(QUrl::fromLocalFile(path), refused);
}

bool OpenInViewer(const QString& imagePath, const QString& viewerPath,
                  const ShellLauncher& launcher, const ShellLauncher::Refusal& refused)
{
    // A viewer that has been uninstalled since it was chosen, or a chosen file that is no
    // program, must not leave the user with nothing: the desktop's own viewer takes over. The
    // viewer gets the image's full path, so that a relative name starting with '-' can't pass
    // for one of its options.
    const QFileInfo image(imagePath);
    if (!viewerPath.isEmpty() && QFileInfo(viewerPath).isFile() &&
        launcher.startDetached(viewerPath, {image.absoluteFilePath()}, image.absolutePath()))
        return true;
    return OpenWithShell(image.absoluteFilePath(), launcher, refused);
}
