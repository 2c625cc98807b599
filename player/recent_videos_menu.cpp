#include "player/recent_videos_menu.h"

#include "player/recent_videos.h"
#include "ui/engine_path.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Menu entries are numbered for their keys: 1 to 9, then 0 for the tenth.
QString entryText(int number, const QString& path)
{
    QString escaped = QDir::toNativeSeparators(path);
    escaped.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(number % 10).arg(escaped);
}

} // namespace

CRecentVideosMenu::CRecentVideosMenu(const CIniFile& settingsFile, QWidget* parent)
    : QMenu(parent), m_settingsFile(settingsFile)
{
    setObjectName(QStringLiteral("recentVideosMenu"));
    connect(this, &QMenu::aboutToShow, this, &CRecentVideosMenu::fill);
}

void CRecentVideosMenu::fill()
{
    clear();
    int number = 0;
    for (const std::string& stored : LoadRecentVideos(m_settingsFile)) {
        const QString path = displayPath(stored);
        if (!QFileInfo(path).isFile())
            continue;
        QAction* entry = addAction(entryText(++number, path));
        entry->setData(path);
        connect(entry, &QAction::triggered, this, [this, path] { emit videoChosen(path); });
    }
    if (number == 0)
        addAction(tr("No recent videos"))->setEnabled(false);
}
