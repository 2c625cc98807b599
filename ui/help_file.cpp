#include "ui/help_file.h"

#include "ui/message_box.h"
#include "ui/shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

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
    OpenWithShell(path, launcher);
}
