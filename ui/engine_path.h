#pragma once

#include <QFile>
#include <QString>

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
