#include "ui/shell_launcher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

bool ShellLauncher::openUrl(const QUrl& url) const
{
    return QDesktopServices::openUrl(url);
}

bool ShellLauncher::startDetached(const QString& program, const QStringList& arguments,
                                  const QString& workingFolder) const
{
    return QProcess::startDetached(program, arguments, workingFolder);
}
