#include "player/frame_slider.h"
#include "player_test_suites.h"
#include "started_player.h"

#include <QAction>
#include <QTest>

namespace {

// The key frames of the demo clip, as clipmint-cli info --keys lists them.
constexpr int kDemoKeyFrames[] = {0, 49, 97, 145, 193, 241};

const QStringList kRunningCommands{"Stop", "Scale", "Average", "Option", "About", "Help"};

QStringList allCommandsBut(const QStringList& excluded)
{
    QStringList names;
    for (const PlayerCommandInfo& info : playerCommands()) {
        if (!excluded.contains(commandName(info.command)))
            names << commandName(info.command);
    }
    return names;
}

} // namespace

class CommandTest : public QObject
{
    Q_OBJECT

private slots:
    void framesStepAndJumpBetweenKeyFrames()
    {
        StartedPlayer player(demoVideo());
        CFrameSource& source = player.source();
        player.trigger(PlayerCommand::PrevFrame); // nothing before the first frame
        QCOMPARE(source.currentFrame(), 0);
        player.trigger(PlayerCommand::NextFrame);
        player.trigger(PlayerCommand::NextFrame);
        QCOMPARE(source.currentFrame(), 2);
        QCOMPARE(player.text(FrameTextControl::CurrentFrame), QStringLiteral("2 00:00:00.080"));
        QCOMPARE(player.panel().slider()->value(), 2);

        player.trigger(PlayerCommand::NextKeyFrame);
        QCOMPARE(source.currentFrame(), kDemoKeyFrames[1]);
        player.trigger(PlayerCommand::NextKeyFrame);
        QCOMPARE(source.currentFrame(), kDemoKeyFrames[2]);
        player.trigger(PlayerCommand::PrevKeyFrame);
        QCOMPARE(source.currentFrame(), kDemoKeyFrames[1]);
        player.trigger(PlayerCommand::PrevKeyFrame);
        QCOMPARE(source.currentFrame(), 0);

        player.trigger(PlayerCommand::LastFrame);
        QCOMPARE(source.currentFrame(), 249);
        QCOMPARE(player.panel().slider()->value(), 249);
        player.trigger(PlayerCommand::PrevKeyFrame);
        QCOMPARE(source.currentFrame(), kDemoKeyFrames[5]);
        player.trigger(PlayerCommand::NextKeyFrame); // past the last key frame: stays
        QCOMPARE(source.currentFrame(), kDemoKeyFrames[5]);
        player.trigger(PlayerCommand::FirstFrame);
        QCOMPARE(source.currentFrame(), 0);
    }

    void marksNeverCross()
    {
        StartedPlayer player(demoVideo());
        CFrameSource& source = player.source();
        const auto markAt = [&](int frame, PlayerCommand command) {
            source.Seek(frame);
            player.trigger(command);
        };
        markAt(10, PlayerCommand::StartPosition);
        markAt(20, PlayerCommand::EndPosition);
        QCOMPARE(source.beginMark(), 10);
        QCOMPARE(source.endMark(), 20);

        markAt(40, PlayerCommand::StartPosition); // after the end: the old end becomes the start
        QCOMPARE(source.beginMark(), 20);
        QCOMPARE(source.endMark(), 40);
        markAt(5, PlayerCommand::EndPosition); // before the start: the old start becomes the end
        QCOMPARE(source.beginMark(), 5);
        QCOMPARE(source.endMark(), 20);

        QCOMPARE(player.text(FrameTextControl::BeginMark), QStringLiteral("5 00:00:00.200"));
        QCOMPARE(player.text(FrameTextControl::EndMark), QStringLiteral("20 00:00:00.800"));
        QCOMPARE(player.panel().slider()->selectionStart(), 5);
        QCOMPARE(player.panel().slider()->selectionEnd(), 20);
    }

    void enabledCommandsFollowTheState()
    {
        StartedPlayer player(demoVideo());
        QCOMPARE(player.enabledCommands(), allCommandsBut({"Stop", "Record", "Period Record"}));
        QVERIFY(player.panel().slider()->isEnabled());
        // The grey record buttons say why.
        QCOMPARE(player.action(PlayerCommand::Record)->toolTip(),
                 QStringLiteral("Record (Ctrl+R)\nChoose a folder under \"Save to\" first."));
        QVERIFY(player.action(PlayerCommand::PeriodRecord)->toolTip().endsWith(" first."));
        player.panel().setTargetFolder(qPath(player.dir().file("frames")));
        QCOMPARE(player.enabledCommands(), allCommandsBut({"Stop"}));
        QCOMPARE(player.action(PlayerCommand::Record)->toolTip(),
                 QStringLiteral("Record (Ctrl+R)"));

        QStringList whilePlaying;
        bool sliderWhilePlaying = true;
        InsideLoop stop([&] { return player.source().state() == CFrameSource::StatePlaying; },
                        [&] {
                            whilePlaying = player.enabledCommands();
                            sliderWhilePlaying = player.panel().slider()->isEnabled();
                            player.trigger(PlayerCommand::Stop);
                        });
        player.trigger(PlayerCommand::Play);
        QVERIFY(stop.ran());
        QCOMPARE(whilePlaying, kRunningCommands);
        QVERIFY(!sliderWhilePlaying);
        QVERIFY(player.source().currentFrame() < 249);
        QCOMPARE(player.enabledCommands(), allCommandsBut({"Stop"}));
    }

    void playbackRunsToTheLastFrameAndStaysThere()
    {
        StartedPlayer player(demoVideo());
        CFrameSource& source = player.source();
        source.Seek(245);
        player.trigger(PlayerCommand::Play);
        QCOMPARE(source.state(), CFrameSource::StateIdle);
        QCOMPARE(source.currentFrame(), 249);
        QCOMPARE(player.text(FrameTextControl::CurrentFrame), QStringLiteral("249 00:00:09.960"));
        QCOMPARE(player.panel().slider()->value(), 249);
        player.trigger(PlayerCommand::NextFrame);
        QCOMPARE(source.currentFrame(), 249);
        player.trigger(PlayerCommand::PrevFrame);
        QCOMPARE(source.currentFrame(), 248);

        player.trigger(PlayerCommand::LastFrame);
        player.trigger(PlayerCommand::Play); // on the last frame: drawn once, then idle
        QCOMPARE(source.currentFrame(), 249);
        QCOMPARE(source.state(), CFrameSource::StateIdle);
    }

    void keysRunTheCommandsInEitherWindow()
    {
        StartedPlayer player(demoVideo());
        CFrameSource& source = player.source();
        for (QWidget* window :
             {static_cast<QWidget*>(&player.window()), static_cast<QWidget*>(&player.panel())}) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            source.Seek(0);
            QTest::keyClick(window, Qt::Key_Right);
            QCOMPARE(source.currentFrame(), 1);
            QTest::keyClick(window, Qt::Key_PageDown);
            QCOMPARE(source.currentFrame(), kDemoKeyFrames[1]);
            QTest::keyClick(window, Qt::Key_I);
            QTest::keyClick(window, Qt::Key_End);
            QCOMPARE(source.currentFrame(), 249);
            QTest::keyClick(window, Qt::Key_PageUp);
            QCOMPARE(source.currentFrame(), kDemoKeyFrames[5]);
            QTest::keyClick(window, Qt::Key_BracketRight);
            QCOMPARE(source.beginMark(), kDemoKeyFrames[1]);
            QCOMPARE(source.endMark(), kDemoKeyFrames[5]);
            QTest::keyClick(window, Qt::Key_Home);
            QCOMPARE(source.currentFrame(), 0);
        }
    }

    void spacePlaysAndStops()
    {
        StartedPlayer player(demoVideo());
        player.window().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&player.window()));
        InsideLoop stop([&] { return player.source().currentFrame() >= 3; },
                        [&] { QTest::keyClick(&player.window(), Qt::Key_Space); });
        QTest::keyClick(&player.window(), Qt::Key_Space);
        QVERIFY(stop.ran());
        QCOMPARE(player.source().state(), CFrameSource::StateIdle);
        QVERIFY(player.source().currentFrame() < 10);
    }
};

int runCommandTests(int argc, char** argv)
{
    CommandTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "command_test.moc"
