#include "ui/help_file.h"

#include "desktop/shell.h"
#include "ui/message_box.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QWidget>

QString FindHelpFile(const QStringList& folders)
{
    for (const QString& folder : folders) {
        const QString path = QDir(folder).filePath(QString::fromLatin1(kHelpFileName));
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

void OpenHelpFile(QWidget* parent, const QStringList& folders, const ShellLauncher& launcher)
{
    const QString path = FindHelpFile(folders);
    if (path.isEmpty()) {
        ShowMessage(parent, QCoreApplication::translate(
                                "OpenHelpFile", "Sorry, can't find the help file. Please download "
                                                "the whole package again."));
        return;
    }
    const QPointer<QWidget> owner(parent);
    const auto tell = [owner, path] {
        ShowMessage(owner,
                    QCoreApplication::translate(
                        "OpenHelpFile", "Sorry, nothing on this desktop could open the user "
                                        "guide. You can open it in a web browser yourself:\n%1")
                        .arg(QDir::toNativeSeparators(path)));
    };
    if (!OpenWithShell(path, launcher, tell))
        tell();
}
