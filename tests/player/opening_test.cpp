#include "player/dialog_tool_bar.h"
#include "player/frame_slider.h"
#include "player_test_suites.h"
#include "raw_avi.h"
#include "started_player.h"
#include "ui/caption_label.h"

#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QToolButton>
#include <QUrl>

#include <filesystem>

namespace {

// Drags urls onto widget at position, offering the actions given, and drops them there when the
// drag is accepted. True when the drop was taken.
bool drop(QWidget& widget, QPoint position, const QStringList& paths,
          Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QDragEnterEvent enter(position, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropped(position, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &dropped);
    QCoreApplication::processEvents(); // the drop is taken once it has ended
    return dropped.isAccepted() && dropped.dropAction() == Qt::CopyAction;
}

QPoint centreOf(const QWidget& widget)
{
    return widget.rect().center();
}

QMenu* recentMenu(const StartedPlayer& player)
{
    CDialogToolBar* bar = player.panel().toolBar();
    return qobject_cast<QToolButton*>(bar->widgetForAction(player.action(PlayerCommand::Open)))
        ->menu();
}

// The paths the drop-down of the Open button lists when it opens.
QStringList recentEntries(const StartedPlayer& player)
{
    QMenu* menu = recentMenu(player);
    emit menu->aboutToShow();
    QStringList paths;
    for (const QAction* action : menu->actions())
        paths << action->data().toString();
    return paths;
}

} // namespace

class OpeningTest : public QObject
{
    Q_OBJECT

private slots:
    void dropsOpenAVideoAnywhereAndTakeAFolderOnTheSaveToRow()
    {
        StartedPlayer player;
        CControlPanelDlg& panel = player.panel();
        const QString video =
            qPath(writeRawAvi(player.dir().file("dropped.avi"), makeRawAvi(8, 8, 2)));
        const QString text = qPath(player.dir().file("notes.txt"));
        WriteText(text.toStdString(), "not a video");
        const QString folder = qPath(player.dir().path().string());
        const QPoint saveToRow =
            panel.findChild<CCaptionLabel*>(QStringLiteral("targetFolder"))->geometry().center();
        const QPoint slider = panel.slider()->geometry().center();

        // Refused, and nothing changes: another kind of file, two videos, a folder anywhere but
        // on the "Save to" row, and a drag that could only move the video away.
        QVERIFY(!drop(player.window(), centreOf(player.window()), {text}));
        QVERIFY(!drop(player.window(), centreOf(player.window()), {video, video}));
        QVERIFY(!drop(player.window(), centreOf(player.window()), {folder}));
        QVERIFY(!drop(panel, slider, {folder}));
        QVERIFY(!drop(player.window(), centreOf(player.window()), {video}, Qt::MoveAction));
        QCOMPARE(player.source().state(), CFrameSource::StateClosed);
        QVERIFY(panel.targetFolder().isEmpty());

        QVERIFY(drop(player.window(), centreOf(player.window()), {video}));
        QCOMPARE(qPath(player.source().path()), video);
        QCOMPARE(panel.windowTitle(), QStringLiteral("Clipmint - dropped.avi"));
        QVERIFY(drop(panel, saveToRow, {folder}));
        QCOMPARE(panel.targetFolder(), folder + u'/');
        QVERIFY(player.action(PlayerCommand::Record)->isEnabled());
    }

    void recentVideosAreListedNewestFirstAtMostTenWithoutMissingOnes()
    {
        StartedPlayer player;
        const std::string otherSettings = "; kept as written\n[AVI]\nTargetDir = /frames \n\n"
                                          "[Viewer]\nViewerPath=/usr/bin/viewer\n";
        WriteText(player.iniPath(), otherSettings);
        QCOMPARE(recentEntries(player), QStringList{QString()}); // only "No recent videos"

        QStringList videos;
        for (int index = 0; index < 12; ++index) {
            const std::string name = "video" + std::to_string(index) + ".avi";
            videos << qPath(writeRawAvi(player.dir().file(name), makeRawAvi(8, 8, 1)));
            QVERIFY(player.panel().openChosenVideo(videos.back()));
        }
        QVERIFY(player.panel().openChosenVideo(videos[5])); // again: to the head, listed once
        std::filesystem::remove(videos[9].toStdString());

        const QStringList expected{videos[5], videos[11], videos[10], videos[8], videos[7],
                                   videos[6], videos[4],  videos[3],  videos[2]};
        QCOMPARE(recentEntries(player), expected);
        // Two clicks: the arrow, then the entry.
        recentMenu(player)->actions().at(7)->trigger();
        QCOMPARE(qPath(player.source().path()), videos[3]);
        QCOMPARE(recentEntries(player).first(), videos[3]);

        // The other sections keep every byte; the list has a section of its own.
        const std::string file = ReadText(player.iniPath());
        QVERIFY(file.starts_with(otherSettings + "\n[Recent]\nFile1=" + videos[3].toStdString() +
                                 "\nFile2=" + videos[5].toStdString() + "\n"));
        QVERIFY(file.ends_with("File10=" + videos[2].toStdString() + "\n"));
    }
};

int runOpeningTests(int argc, char** argv)
{
    OpeningTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "opening_test.moc"
