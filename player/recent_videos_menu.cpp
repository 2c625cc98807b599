#include "player/recent_videos_menu.h"

#include "player/recent_videos.h"
#include "ui/engine_path.h"

#include <QDir>
#include <QFileInfo>

namespace {

// How wide an entry may grow, in average characters; a longer path loses its middle.
constexpr int kEntryCharacters = 80;

} // namespace

CRecentVideosMenu::CRecentVideosMenu(const CIniFile& settingsFile, QWidget* parent)
    : QMenu(parent), m_settingsFile(settingsFile)
{
    setObjectName(QStringLiteral("recentVideosMenu"));
    setToolTipsVisible(true);
    connect(this, &QMenu::aboutToShow, this, &CRecentVideosMenu::fill);
}

// Entries are numbered for their keys: 1 to 9, then 0 for the tenth.
QString CRecentVideosMenu::entryText(int number, const QString& path) const
{
    QString text = fontMetrics().elidedText(QDir::toNativeSeparators(path), Qt::ElideMiddle,
                                            fontMetrics().averageCharWidth() * kEntryCharacters);
    text.replace(u'&', QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(number % 10).arg(text);
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
        entry->setToolTip(QDir::toNativeSeparators(path));
        connect(entry, &QAction::triggered, this, [this, path] { emit videoChosen(path); });
    }
    if (number == 0)
        addAction(tr("No recent videos"))->setEnabled(false);
}
