#include "ui/shell.h"

#include <QFileInfo>
#include <QUrl>

bool OpenWithShell(const QString& path, const ShellLauncher& launcher)
{
    return launcher.openUrl(QUrl::fromLocalFile(path));
}

bool OpenInViewer(const QString& imagePath, const QString& viewerPath,
                  const ShellLauncher& launcher)
{
    // A viewer that has been uninstalled since it was chosen, or a chosen file that is no
    // program, must not leave the user with nothing: the desktop's own viewer takes over.
    if (!viewerPath.isEmpty() && QFileInfo(viewerPath).isFile() &&
        launcher.startDetached(viewerPath, {imagePath}, QFileInfo(imagePath).absolutePath()))
        return true;
    return OpenWithShell(imagePath, launcher);
}
