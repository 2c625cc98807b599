#include "desktop/shell_launcher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

bool ShellLauncher::openUrl(const QUrl& url, const Refusal& refused) const
{
    // Qt only tells whether it could start the desktop's opener; xdg-open also tells, by its exit
    // status, whether anything could open the file. It ends once it has handed the file on, or,
    // with no desktop to hand it to, once the program it started ends: this program then may
    // have ended first, which takes xdg-open with it but not what it started.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty())
        return QDesktopServices::openUrl(url);
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({url.toString(QUrl::FullyEncoded)});
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process,
                     [process, refused](int code, QProcess::ExitStatus status) {
                         if (status == QProcess::NormalExit && code != 0 && refused)
                             refused();
                         process->deleteLater();
                     });
    process->start();
    if (process->waitForStarted())
        return true;
    process->deleteLater();
    return false;
}

bool ShellLauncher::startDetached(const QString& program, const QStringList& arguments,
                                  const QString& workingFolder) const
{
    return QProcess::startDetached(program, arguments, workingFolder);
}
