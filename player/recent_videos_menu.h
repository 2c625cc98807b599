#pragma once

#include <QMenu>

class CIniFile;

// The drop-down of the Open button: the recent videos that still exist, most recent first,
// read afresh each time it opens.
class CRecentVideosMenu : public QMenu
{
    Q_OBJECT

public:
    CRecentVideosMenu(const CIniFile& settingsFile, QWidget* parent);

signals:
    void videoChosen(const QString& path);

private:
    void fill();
    QString entryText(int number, const QString& path) const;

    const CIniFile& m_settingsFile;
};
