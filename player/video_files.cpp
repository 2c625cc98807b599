#include "player/video_files.h"

#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <array>

namespace {

constexpr std::array<const char*, 11> kVideoExtensions{
    "avi", "mp4", "mkv", "mov", "webm", "m4v", "mpg", "mpeg", "wmv", "flv", "ts",
};

} // namespace

QString videoFilePatterns()
{
    QStringList patterns;
    for (const char* extension : kVideoExtensions)
        patterns << QStringLiteral("*.") + QLatin1String(extension);
    return patterns.join(u' ');
}

bool hasVideoFileExtension(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix();
    return std::any_of(
        kVideoExtensions.begin(), kVideoExtensions.end(), [&](const char* extension) {
            return suffix.compare(QLatin1String(extension), Qt::CaseInsensitive) == 0;
        });
}
