#include "ffmpeg_tool.h"
#include "message_recorder.h"
#include "player/dialog_tool_bar.h"
#include "player/frame_slider.h"
#include "player_test_suites.h"
#include "raw_avi.h"
#include "started_player.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QRegularExpression>
#include <QTest>

#include <filesystem>
#include <optional>
#include <utility>

namespace {

const QStringList kNoVideoCommands{"Open", "Scale", "Average", "Option", "About", "Help"};

// A video whose top row is red and whose other rows are blue, stored bottom-up as AVI keeps
// uncompressed frames.
RawAvi redTopRowAvi()
{
    RawAvi avi = makeRawAvi(8, 4, 1);
    std::vector<std::uint8_t>& pixels = avi.frames[0];
    const std::size_t stride = 8 * 3;
    for (std::size_t row = 0; row < 4; ++row) {
        for (std::size_t x = 0; x < 8; ++x) {
            const bool top = row == 3;
            pixels[row * stride + x * 3 + 0] = top ? 0 : 255; // blue
            pixels[row * stride + x * 3 + 1] = 0;
            pixels[row * stride + x * 3 + 2] = top ? 255 : 0; // red
        }
    }
    return avi;
}

bool allBlack(const QImage& image)
{
    QImage black(image.size(), QImage::Format_RGB32);
    black.fill(Qt::black);
    return image.convertToFormat(QImage::Format_RGB32) == black;
}

} // namespace

class StartUpTest : public QObject
{
    Q_OBJECT

private slots:
    void startsWithNoVideoAndOnlyTheCommandsThatNeedNone()
    {
        StartedPlayer player;
        CControlPanelDlg& panel = player.panel();
        QVERIFY(player.window().isVisible());
        QVERIFY(panel.isVisible());
        QCOMPARE(panel.parentWidget(), &player.window());
        QVERIFY(panel.windowFlags().testFlag(Qt::Tool));
        QCOMPARE(player.window().windowTitle(), QStringLiteral("Clipmint"));
        QCOMPARE(panel.windowTitle(), QStringLiteral("Clipmint"));
        QCOMPARE(player.source().state(), CFrameSource::StateClosed);
        QCOMPARE(player.enabledCommands(), kNoVideoCommands);
        QVERIFY(!panel.slider()->isEnabled());
        QCOMPARE(player.settings().GetOption(OPTION_JPEG_QUALITY), 75);
        QVERIFY(allBlack(player.window().grab().toImage()));
        // Starting writes nothing.
        QVERIFY(!std::filesystem::exists(player.iniPath()));
    }

    void thePanelSitsCentredUnderTheVideoWindow()
    {
        StartedPlayer player;
        QCoreApplication::processEvents();
        const auto sitsUnder = [&] {
            const QRect window = player.window().frameGeometry();
            const QRect panel = player.panel().frameGeometry();
            return panel.top() == window.bottom() + 1 &&
                   panel.left() == window.left() + (window.width() - panel.width()) / 2;
        };
        QVERIFY(sitsUnder());
        // A video of another size takes the panel along with the window's lower edge...
        QVERIFY(player.panel().OpenVideo(demoVideo()));
        QVERIFY(sitsUnder());
        // ...unless the user has put it somewhere else.
        const QPoint moved = player.panel().pos() + QPoint(40, 60);
        player.panel().move(moved);
        const std::string small =
            writeRawAvi(player.dir().file("small.avi"), makeRawAvi(64, 48, 2));
        QVERIFY(player.panel().OpenVideo(qPath(small)));
        QCOMPARE(player.window().size(), QSize(64, 48));
        QCOMPARE(player.panel().pos(), moved);
    }

    void toolButtonsCarryTheCommandNamesInTheirGroups()
    {
        StartedPlayer player;
        QStringList layout;
        for (QAction* action : player.panel().toolBar()->actions()) {
            layout << (action->isSeparator() ? QStringLiteral("|") : action->text());
            // The tip is the name, followed by the command's key when it has one.
            QVERIFY(action->isSeparator() || action->toolTip() == action->text() ||
                    action->toolTip().startsWith(action->text() + " ("));
            QVERIFY(action->isSeparator() || !action->icon().isNull());
        }
        QCOMPARE(layout.join(u',').replace(QStringLiteral(",|,"), QStringLiteral("|")),
                 QStringLiteral("Open,Save Current Image|Play,Stop,Record|Period Record|"
                                "First Frame,Prev Frame,Next Frame,Last Frame|"
                                "Prev Key Frame,Next Key Frame,Position|Start Position,End "
                                "Position|Scale,Average|Option|Bitrate,Contact Sheet|About,Help"));
        QCOMPARE(player.action(PlayerCommand::Play)->toolTip(), QStringLiteral("Play (Space)"));
    }

    void aVideoNamedAtStartOpensAndSizesTheWindowToItsFrames()
    {
        StartedPlayer player(demoVideo());
        CFrameSource& source = player.source();
        QCOMPARE(source.state(), CFrameSource::StateIdle);
        QCOMPARE(player.window().size(), QSize(320, 240));
        QCOMPARE(player.panel().windowTitle(), QStringLiteral("Clipmint - demo.avi"));
        QVERIFY(QRegularExpression(QStringLiteral("^Clipmint - \\d+Kbps, 25fps$"))
                    .match(player.window().windowTitle())
                    .hasMatch());
        QCOMPARE(player.text(FrameTextControl::LastFrame), QStringLiteral("249 00:00:09.960"));
        QCOMPARE(player.text(FrameTextControl::EndMark), QStringLiteral("249 00:00:09.960"));
        QCOMPARE(player.panel().slider()->maximum(), 249);
        QCOMPARE(player.panel().slider()->selectionEnd(), 249);
        QCOMPARE(player.window().frame().size(), QSize(320, 240));
        QVERIFY(!allBlack(player.window().grab().toImage()));

        // A second video, larger, makes the window larger.
        const std::string larger =
            makeTestVideo(player.dir().file("larger.avi"), "640x480", "25", 3, "-c:v mpeg4");
        QVERIFY(!larger.empty());
        QVERIFY(player.panel().OpenVideo(qPath(larger)));
        QCOMPARE(player.window().size(), QSize(640, 480));
        QCOMPARE(player.window().frame().size(), QSize(640, 480));
        QCOMPARE(player.panel().windowTitle(), QStringLiteral("Clipmint - larger.avi"));
    }

    void framesAreShownUprightInTheirOwnColours()
    {
        TempDir dir;
        StartedPlayer player(qPath(writeRawAvi(dir.file("red-top.avi"), redTopRowAvi())));
        const QImage shown = player.window().grab().toImage();
        QCOMPARE(shown.size(), QSize(8, 4));
        QCOMPARE(QColor(shown.pixel(0, 0)), QColor(Qt::red));
        QCOMPARE(QColor(shown.pixel(7, 3)), QColor(Qt::blue));
    }

    void aVideoThatFailsToOpenLeavesNoVideoShownAndSaysSo()
    {
        StartedPlayer player(demoVideo());
        const QString missing = qPath(player.dir().file("missing.avi"));
        MessageRecorder messages;
        QVERIFY(!player.panel().openVideoOrTell(missing));
        QCOMPARE(messages.texts(), QStringList{"Sorry, can't open the file\n" + missing +
                                               ".\nPlease check it. (No such file or directory)"});
        QCOMPARE(player.source().state(), CFrameSource::StateClosed);
        QCOMPARE(player.window().windowTitle(), QStringLiteral("Clipmint"));
        QCOMPARE(player.panel().windowTitle(), QStringLiteral("Clipmint"));
        QCOMPARE(player.enabledCommands(), kNoVideoCommands);
        QCOMPARE(player.text(FrameTextControl::LastFrame), QStringLiteral("0 00:00:00.000"));
        QCOMPARE(player.text(FrameTextControl::CurrentFrame), QStringLiteral("0 00:00:00.000"));
        QVERIFY(allBlack(player.window().grab().toImage()));
    }

    void aVideoNamedInBytesThatAreNotUtf8OpensByItsBytesAndIsRefusedAsText()
    {
        StartedPlayer player;
        const std::string video = player.dir().file("clip \xFF.avi");
        writeRawAvi(video, makeRawAvi(32, 24, 3));
        // As bytes, from the command line or the stored parameters, the name names the file.
        QVERIFY(player.panel().openVideoOrTell(video));
        QCOMPARE(player.source().path(), video);
        // As text, from a file dialog, it has lost its byte; the user hears why.
        MessageRecorder messages;
        const QString asText = QFile::decodeName(QByteArray::fromStdString(video));
        QVERIFY(!player.panel().openVideoOrTell(asText));
        QCOMPARE(messages.texts(),
                 QStringList("Sorry, the name " + asText +
                             " is not UTF-8 text, so the windows can't pass it on. Please rename "
                             "it, or use clipmint-cli."));
        QVERIFY(!player.source().isOpen());
    }

    void theOpenCommandOffersEveryVideoTypeFirst()
    {
        StartedPlayer player;
        QStringList filters;
        InsideLoop answer(
            [] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); },
            [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                filters = dialog->nameFilters();
                dialog->selectFile(demoVideo());
                static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides its accept()
            });
        player.trigger(PlayerCommand::Open);
        QVERIFY(filters.value(0).startsWith("All videos(*.avi "));
        for (const char* pattern :
             {" *.mp4 ", " *.mkv ", " *.ts ", " *.m2ts ", " *.mpg ", " *.h264 "})
            QVERIFY2(filters.value(0).contains(pattern), pattern);
        QCOMPARE(filters.value(1), QStringLiteral("All Files (*)"));
        QCOMPARE(player.source().state(), CFrameSource::StateIdle);
        QCOMPARE(player.panel().windowTitle(), QStringLiteral("Clipmint - demo.avi"));
    }

    void aVideoWithoutDecoderOpensBlackAndSaysSoOnce()
    {
        TempDir dir;
        RawAvi avi = makeRawAvi(16, 8, 3);
        avi.compression = 0x5A5A5A5A; // "ZZZZ", which no decoder knows
        const QString path = qPath(writeRawAvi(dir.file("unknown.avi"), avi));
        MessageRecorder messages;
        StartedPlayer player(path);
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY(messages.texts().first().contains("can't be decoded"));
        QCOMPARE(player.source().state(), CFrameSource::StateIdle);
        QCOMPARE(player.text(FrameTextControl::LastFrame).section(u' ', 0, 0), QStringLiteral("2"));
        player.trigger(PlayerCommand::NextFrame);
        QCOMPARE(player.source().currentFrame(), 1);
        QVERIFY(player.window().frame().isNull());
        QCOMPARE(messages.texts().size(), 1);
    }

    void closingTheVideoWindowClosesBothAfterTheHandShake()
    {
        StartedPlayer player(demoVideo());
        player.window().close();
        // Only a request has been posted so far.
        QVERIFY(player.window().isVisible());
        QVERIFY(player.panel().isVisible());
        QTRY_VERIFY(!player.window().isVisible());
        QVERIFY(!player.panel().isVisible());
        QCOMPARE(player.source().state(), CFrameSource::StateClosed);
    }

    // A file without an index is read through at open; the windows are drawn meanwhile and the
    // panel's title says how far the read has got. Closing then stops the read and closes both.
    void closingWhileAFileIsReadThroughStopsTheReadAndClosesBoth()
    {
        StartedPlayer player;
        const std::string ts =
            makeTestVideo(player.dir().file("clip.ts"), "64x48", "25", 10, "-c:v mpeg2video");
        QVERIFY(!ts.empty());
        MessageRecorder messages;
        // The window is closed as soon as the panel's title tells of the read.
        bool told = false;
        QObject::connect(&player.panel(), &QWidget::windowTitleChanged, &player.window(),
                         [&](const QString& title) {
                             if (told ||
                                 !title.contains(QStringLiteral("reading the video's frames")))
                                 return;
                             told = true;
                             player.window().close();
                         });
        QVERIFY(!player.panel().OpenVideo(qPath(ts)));
        QVERIFY(told);
        QTRY_VERIFY(!player.window().isVisible());
        QVERIFY(!player.panel().isVisible());
        QCOMPARE(player.source().state(), CFrameSource::StateClosed);
        QCOMPARE(messages.texts().size(), 0);
    }

    // While the frames are listed the windows take commands: one that goes to a frame waits for
    // the list and then runs, and another file chosen meanwhile is opened in place of this one.
    void commandsGivenWhileTheFramesAreListedWaitForThem()
    {
        StartedPlayer player;
        const std::string first =
            makeTestVideo(player.dir().file("first.ts"), "64x48", "25", 10, "-c:v mpeg2video");
        const std::string second =
            makeTestVideo(player.dir().file("second.ts"), "64x48", "25", 20, "-c:v mpeg2video");
        const std::string third =
            makeTestVideo(player.dir().file("third.ts"), "64x48", "25", 10, "-c:v mpeg2video");
        QVERIFY(!first.empty() && !second.empty() && !third.empty());
        std::optional<PlayerCommand> command = PlayerCommand::LastFrame;
        QObject::connect(&player.panel(), &QWidget::windowTitleChanged, &player.panel(),
                         [&](const QString& title) {
                             if (command && title.contains(QStringLiteral("reading")))
                                 player.panel().runCommand(*std::exchange(command, std::nullopt));
                         });
        QVERIFY(player.panel().OpenVideo(qPath(first)));
        QTRY_COMPARE(player.source().currentFrame(), 9);

        MessageRecorder messages;
        bool chosen = false;
        QObject::connect(&player.panel(), &QWidget::windowTitleChanged, &player.panel(),
                         [&](const QString& title) {
                             if (!chosen && title.contains(QStringLiteral("reading"))) {
                                 chosen = true;
                                 player.panel().openChosenVideo(second);
                             }
                         });
        QVERIFY(!player.panel().openVideoOrTell(third));
        QTRY_COMPARE(player.source().lastFrame(), 19);
        QCOMPARE(messages.texts().size(), 0);
    }

    void escapeOnThePanelClosesBoth()
    {
        StartedPlayer player;
        QTest::keyClick(&player.panel(), Qt::Key_Escape);
        QTRY_VERIFY(!player.window().isVisible());
        QVERIFY(!player.panel().isVisible());
    }

    void minimisingThePanelMinimisesTheVideoWindowAndTakesThePanelAlong()
    {
        StartedPlayer player;
        player.panel().setWindowState(Qt::WindowMinimized);
        QTRY_VERIFY(player.window().isMinimized());
        QVERIFY(!player.panel().isMinimized());
        QVERIFY(!player.panel().isVisible());
        player.window().showNormal();
        QVERIFY(player.panel().isVisible());
    }
};

int runStartUpTests(int argc, char** argv)
{
    StartUpTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "start_up_test.moc"
