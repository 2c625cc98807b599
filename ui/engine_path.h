#pragma once

#include <QFile>
#include <QString>

class QWidget;

#include <string>

// Paths and texts that hold paths cross between the windows and the engine in the file system's
// own encoding, so that a name that is not valid UTF-8 still names its file.
inline std::string enginePath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

inline QString displayPath(const std::string& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// Whether a path that the windows hold as text still names what the user chose. Qt keeps file
// names as text, so a name that is not UTF-8 reaches a window with replacement characters in
// place of its stray bytes; handed on, it would name another file, and a write would make one.
bool isPassablePath(const QString& path);

// Tells the user, over parent, that path can't be handed on, and why.
void tellUnpassablePath(QWidget* parent, const QString& path);
