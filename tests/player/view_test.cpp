#include "message_recorder.h"
#include "player/frame_view.h"
#include "player/view_scale.h"
#include "player_test_suites.h"
#include "raw_avi.h"
#include "started_player.h"

#include <QApplication>
#include <QClipboard>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>

namespace {

// Larger than the offscreen screen once the panel is under it.
constexpr QSize kLargeFrame(1200, 1000);

void pressInVideoWindow(const StartedPlayer& player, QKeyCombination key)
{
    player.window().activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&player.window()));
    QTest::keyClick(&player.window(), key.key(), key.keyboardModifiers());
}

// The window with the panel under it, as far as it goes below the window.
QRect windowAndPanel(const StartedPlayer& player)
{
    const QRect window = player.window().frameGeometry();
    return window.adjusted(0, 0, 0, player.panel().frameGeometry().height());
}

} // namespace

class ViewTest : public QObject
{
    Q_OBJECT

private slots:
    void framesFitTheScreenWithThePanelOnlyWhenTheyWouldNotFitWhole_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<double>("ratio");
        QTest::addColumn<double>("scale");
        QTest::addColumn<QSize>("shown");
        // A title bar of 24 and borders of 1; a panel 150 high: the room is 1918 x 905.
        QTest::newRow("fits whole")
            << QSize(1920, 1080) << QSize(1280, 720) << 1.0 << 1.0 << QSize(1280, 720);
        QTest::newRow("exactly the room")
            << QSize(1920, 1080) << QSize(1918, 905) << 1.0 << 1.0 << QSize(1918, 905);
        QTest::newRow("taller by the panel")
            << QSize(1920, 1080) << QSize(1920, 1080) << 1.0 << 905.0 / 1080 << QSize(1608, 905);
        QTest::newRow("4K on 1080p")
            << QSize(1920, 1080) << QSize(3840, 2160) << 1.0 << 905.0 / 2160 << QSize(1608, 905);
        QTest::newRow("wide") << QSize(1920, 1080) << QSize(3836, 400) << 1.0 << 0.5
                              << QSize(1918, 200);
        // QT_SCALE_FACTOR=2 on the same screen: 960 x 540 logical pixels, a room of 958 x 365.
        QTest::newRow("fits whole at ratio 2")
            << QSize(960, 540) << QSize(1280, 720) << 2.0 << 1.0 << QSize(640, 360);
        QTest::newRow("odd size at ratio 2")
            << QSize(960, 540) << QSize(641, 361) << 2.0 << 1.0 << QSize(321, 181);
        QTest::newRow("4K at ratio 2")
            << QSize(960, 540) << QSize(3840, 2160) << 2.0 << 730.0 / 2160 << QSize(649, 365);
    }

    void framesFitTheScreenWithThePanelOnlyWhenTheyWouldNotFitWhole()
    {
        QFETCH(QSize, screen);
        QFETCH(QSize, frame);
        QFETCH(double, ratio);
        QFETCH(double, scale);
        QFETCH(QSize, shown);
        const ViewRoom room{screen, 150, QMargins(1, 24, 1, 1)};
        const double fit = FitScale(room, frame, ratio);
        QVERIFY2(std::abs(fit - scale) < 1e-9, qPrintable(QString::number(fit)));
        QCOMPARE(ShownSize(frame, fit, ratio), shown);
    }

    void aLargeFrameIsFittedAndCtrl0SwitchesToFullSizeWithScrolling()
    {
        StartedPlayer player;
        const std::string video =
            writeRawAvi(player.dir().file("large.avi"),
                        makeRawAvi(kLargeFrame.width(), kLargeFrame.height(), 2));
        QVERIFY(player.panel().OpenVideo(qPath(video)));
        CVideoWindowDlg& window = player.window();
        const QRect screen = window.screen()->availableGeometry();
        const auto scroller = window.findChild<QScrollArea*>();

        QVERIFY(window.pictureScale() < 1);
        QVERIFY(screen.contains(windowAndPanel(player)));
        QCOMPARE(window.size(), ShownSize(kLargeFrame, window.pictureScale(), 1));
        QCOMPARE(windowAndPanel(player).height(), screen.height()); // as tall as it can be
        QVERIFY(window.windowTitle().endsWith(
            QStringLiteral(" - %1%").arg(ScalePercent(window.pictureScale()))));
        // Made at the size it is shown at, in one conversion from the decoder's picture.
        QCOMPARE(window.frame().size(), ShownPixels(kLargeFrame, window.pictureScale()));
        QVERIFY(!scroller->horizontalScrollBar()->isVisible());

        pressInVideoWindow(player, Qt::CTRL | Qt::Key_0);
        QCOMPARE(window.pictureScale(), 1.0);
        QCOMPARE(scroller->widget()->size(), kLargeFrame);
        QVERIFY(screen.contains(windowAndPanel(player)));
        QVERIFY(scroller->verticalScrollBar()->maximum() > 0);
        QVERIFY(!window.windowTitle().contains(u'%'));

        pressInVideoWindow(player, Qt::CTRL | Qt::Key_0);
        QVERIFY(window.pictureScale() < 1);
        // A video that fits is shown whole, one pixel for one, as before.
        QVERIFY(player.panel().OpenVideo(demoVideo()));
        QCOMPARE(window.pictureScale(), 1.0);
        QCOMPARE(window.size(), QSize(320, 240));
        QVERIFY(!window.windowTitle().contains(u'%'));
        QCOMPARE(player.panel().frameGeometry().top(), window.frameGeometry().bottom() + 1);
    }

    void eachOpenPlacesBothWindowsOnTheScreenAndAFailedOneTakesThemBack()
    {
        StartedPlayer player;
        QCoreApplication::processEvents(); // the windows are placed again once they are framed
        CVideoWindowDlg& window = player.window();
        const QSize withoutVideo = window.size();
        const QRect screen = window.screen()->availableGeometry();
        const auto centred = [&] {
            const QRect both = windowAndPanel(player);
            return screen.contains(both) &&
                   std::abs(both.center().x() - screen.center().x()) <= 1 &&
                   std::abs(both.center().y() - screen.center().y()) <= 1;
        };
        QVERIFY(centred());

        // From the screen's lower right corner a larger video would run off the screen.
        window.move(screen.bottomRight() - QPoint(window.width(), window.height()));
        QVERIFY(player.panel().OpenVideo(demoVideo()));
        QVERIFY(centred());
        const std::string large =
            writeRawAvi(player.dir().file("large.avi"),
                        makeRawAvi(kLargeFrame.width(), kLargeFrame.height(), 2));
        QVERIFY(player.panel().OpenVideo(qPath(large)));
        QVERIFY(screen.contains(windowAndPanel(player)));
        // A small one after a large one lands in the middle, not in a corner.
        const std::string small =
            writeRawAvi(player.dir().file("small.avi"), makeRawAvi(64, 48, 2));
        QVERIFY(player.panel().OpenVideo(qPath(small)));
        QVERIFY(centred());

        QVERIFY(player.panel().OpenVideo(qPath(large)));
        WriteText(player.dir().file("broken.avi"), "RIFF");
        MessageRecorder messages;
        QVERIFY(!player.panel().openChosenVideo(qPath(player.dir().file("broken.avi"))));
        QCOMPARE(messages.texts().size(), 1);
        QCOMPARE(window.size(), withoutVideo);
        QVERIFY(centred());
    }

    void ctrlCCopiesTheWholeFrameThatSaveCurrentImageWrites()
    {
        StartedPlayer player;
        QClipboard* clipboard = QApplication::clipboard();
        clipboard->setText(QStringLiteral("before"));
        pressInVideoWindow(player, Qt::CTRL | Qt::Key_C); // no frame: nothing copied
        QCOMPARE(clipboard->text(), QStringLiteral("before"));

        const std::string video =
            writeRawAvi(player.dir().file("large.avi"),
                        makeRawAvi(kLargeFrame.width(), kLargeFrame.height(), 2));
        QVERIFY(player.panel().OpenVideo(qPath(video)));
        QVERIFY(player.window().pictureScale() < 1);
        player.source().Seek(1);
        pressInVideoWindow(player, Qt::CTRL | Qt::Key_C);
        const std::string saved = player.dir().file("frame.png");
        QVERIFY(bool(player.source().SaveCurrentFrame(saved)));
        const QImage copied = clipboard->image();
        QCOMPARE(copied.size(), kLargeFrame);
        QCOMPARE(copied.convertToFormat(QImage::Format_RGB32),
                 QImage(qPath(saved)).convertToFormat(QImage::Format_RGB32));
    }
};

int runViewTests(int argc, char** argv)
{
    ViewTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "view_test.moc"
