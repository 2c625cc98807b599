#include "player/video_files.h"

#include "video/video_file_types.h"

#include <QFile>
#include <QStringList>

QString videoFilePatterns()
{
    QStringList patterns;
    for (const VideoFileType& type : videoFileTypes())
        patterns << QStringLiteral("*.") +
                        QLatin1String(type.extension.data(), qsizetype(type.extension.size()));
    return patterns.join(u' ');
}

bool hasVideoFileExtension(const QString& fileName)
{
    return HasVideoFileExtension(QFile::encodeName(fileName).toStdString());
}
