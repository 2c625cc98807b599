#include "ui/desktop_trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString filePath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

} // namespace

bool CDesktopTrash::moveToTrash(const std::string& path, std::string& error)
{
    // Qt 6.4 moves the file into "files" under the working folder, and calls that a success,
    // when the user's data folder that holds the trash does not exist yet: make sure it does.
    const QString dataFolder =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (dataFolder.isEmpty() || !QDir().mkpath(dataFolder)) {
        error = "the folder of the trash, " + QFile::encodeName(dataFolder).toStdString() +
                ", can't be created";
        return false;
    }
    const QString source = filePath(path);
    QFile file(source);
    if (!file.moveToTrash()) {
        error = file.errorString().toStdString();
        return false;
    }
    // Should the trash still have gone astray, the file goes back where it was.
    if (QFileInfo(file.fileName()).isRelative()) {
        if (QFile::rename(file.fileName(), source))
            error = "the desktop's trash can't be found";
        else
            error = "the desktop's trash can't be found, and the file was left at " +
                    QFile::encodeName(QFileInfo(file.fileName()).absoluteFilePath()).toStdString();
        return false;
    }
    return true;
}
