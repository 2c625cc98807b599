#include "message_recorder.h"
#include "player/frame_slider.h"
#include "player_test_suites.h"
#include "raw_avi.h"
#include "started_player.h"

#include <QPushButton>
#include <QTest>

#include <filesystem>

namespace {

const QString kSaveQuestion =
    QStringLiteral("Are you sure you want to save and overwrite parameters in INI file?");
const QString kLoadQuestion =
    QStringLiteral("Are you sure you want to load and replace parameters?");

void click(const StartedPlayer& player, const char* button)
{
    QTest::mouseClick(player.panel().findChild<QPushButton*>(QLatin1String(button)),
                      Qt::LeftButton);
}

std::string fileText(const std::string& path)
{
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

void writeAviSection(StartedPlayer& player, const std::string& video, int current, int begin,
                     int end)
{
    CIniFile& ini = player.settings().iniFile();
    ini.writeString("AVI", "TargetDir", player.dir().file("stored frames"));
    ini.writeString("AVI", "AviPath", video);
    WriteIniInt("AVI", "CurrentFrame", current, ini);
    WriteIniInt("AVI", "BeginFrame", begin, ini);
    WriteIniInt("AVI", "EndFrame", end, ini);
}

} // namespace

class ParameterTest : public QObject
{
    Q_OBJECT

private slots:
    void saveAsksThenWritesTheSectionInOrder()
    {
        StartedPlayer player;
        QVERIFY(player.panel().OpenVideo(demoVideo())); // the recent videos stay out of the file
        player.panel().setTargetFolder(qPath(player.dir().file("frames/")));
        player.source().Seek(30);
        player.trigger(PlayerCommand::StartPosition);
        player.source().Seek(60);
        player.trigger(PlayerCommand::EndPosition);
        player.source().Seek(45);
        {
            MessageRecorder messages({MessageAnswer::No});
            click(player, "saveParametersButton");
            QCOMPARE(messages.texts(), QStringList{kSaveQuestion});
            QVERIFY(!std::filesystem::exists(player.iniPath()));
        }
        MessageRecorder messages({MessageAnswer::Yes});
        click(player, "saveParametersButton");
        QCOMPARE(messages.texts(), (QStringList{kSaveQuestion, "Parameters saved."}));
        QCOMPARE(fileText(player.iniPath()), "[AVI]\nTargetDir=" + player.dir().file("frames/") +
                                                 "\nAviPath=" + demoVideo().toStdString() +
                                                 "\nCurrentFrame=45\nBeginFrame=30\nEndFrame=60\n");
    }

    void saveTellsWhyTheFileCouldNotBeWritten()
    {
        StartedPlayer player;
        QVERIFY(player.panel().OpenVideo(demoVideo()));
        std::filesystem::create_directory(player.iniPath());
        MessageRecorder messages({MessageAnswer::Yes});
        click(player, "saveParametersButton");
        QCOMPARE(messages.texts().size(), 2);
        QCOMPARE(messages.texts().back(),
                 "Sorry, the parameters could not be saved: the settings file " +
                     QString::fromStdString(player.iniPath()) +
                     " can't be written: it is not a regular file.");
    }

    void loadRestoresTheFolderTheVideoItsMarksAndFrame()
    {
        StartedPlayer player;
        writeAviSection(player, demoVideo().toStdString(), 120, 100, 150);
        MessageRecorder messages({MessageAnswer::Yes});
        click(player, "loadParametersButton");
        QCOMPARE(messages.texts(), (QStringList{kLoadQuestion, "Parameters loaded."}));
        QCOMPARE(player.panel().targetFolder(), qPath(player.dir().file("stored frames")));
        CFrameSource& source = player.source();
        QCOMPARE(source.path(), demoVideo().toStdString());
        QCOMPARE(source.currentFrame(), 120);
        QCOMPARE(source.beginMark(), 100);
        QCOMPARE(source.endMark(), 150);
        QCOMPARE(player.panel().slider()->value(), 120);
        QCOMPARE(player.panel().slider()->selectionStart(), 100);
        QCOMPARE(player.text(FrameTextControl::BeginMark), QStringLiteral("100 00:00:04.000"));
        QCOMPARE(player.window().size(), QSize(320, 240));
    }

    void loadWithoutAVideoOnlyReplacesTheFolder()
    {
        StartedPlayer player(demoVideo());
        player.source().Seek(7);
        writeAviSection(player, "", 1, 2, 3);
        MessageRecorder messages({MessageAnswer::Yes});
        click(player, "loadParametersButton");
        QCOMPARE(messages.texts(), QStringList{kLoadQuestion});
        QCOMPARE(player.panel().targetFolder(), qPath(player.dir().file("stored frames")));
        QCOMPARE(player.source().currentFrame(), 7);
        QCOMPARE(player.source().beginMark(), 0);
    }

    void loadOfAMissingVideoResetsEverythingAndSaysSo()
    {
        StartedPlayer player(demoVideo());
        const std::string missing = player.dir().file("gone.avi");
        writeAviSection(player, missing, 1, 2, 3);
        MessageRecorder messages({MessageAnswer::Yes});
        click(player, "loadParametersButton");
        QCOMPARE(messages.texts(),
                 (QStringList{kLoadQuestion, "Sorry, can't open the file\n" + qPath(missing) +
                                                 ".\nPlease check it. (No such file or "
                                                 "directory)"}));
        QCOMPARE(player.source().state(), CFrameSource::StateClosed);
        QCOMPARE(player.window().windowTitle(), QStringLiteral("Clipmint"));
        QCOMPARE(player.panel().windowTitle(), QStringLiteral("Clipmint"));
        QCOMPARE(player.text(FrameTextControl::EndMark), QStringLiteral("0 00:00:00.000"));
        QCOMPARE(player.panel().slider()->selectionEnd(), 0);
    }

    void storedMarksAreTakenAsTheyAre()
    {
        StartedPlayer player;
        const std::string video = writeRawAvi(player.dir().file("200.avi"), makeRawAvi(8, 8, 200));
        writeAviSection(player, video, 5000, 100, 50);
        MessageRecorder messages({MessageAnswer::Yes});
        click(player, "loadParametersButton");
        QCOMPARE(player.source().currentFrame(), 0); // beyond the end: the first frame stays
        QCOMPARE(player.source().beginMark(), 100);
        QCOMPARE(player.source().endMark(), 50);
        // A range that ends before it starts records nothing and leaves the start shown.
        player.trigger(PlayerCommand::PeriodRecord);
        QCOMPARE(player.source().currentFrame(), 100);
        QVERIFY(fileNames(player.dir().file("stored frames")).isEmpty());
    }

    void loadWhilePlayingStopsThePlaybackFirst()
    {
        StartedPlayer player(demoVideo());
        const std::string other = writeRawAvi(player.dir().file("other.avi"), makeRawAvi(8, 8, 20));
        writeAviSection(player, other, 12, 0, 19);
        MessageRecorder messages({MessageAnswer::Yes});
        InsideLoop load([&] { return player.source().currentFrame() >= 3; },
                        [&] { click(player, "loadParametersButton"); });
        player.trigger(PlayerCommand::Play);
        QVERIFY(load.ran());
        QCOMPARE(player.source().state(), CFrameSource::StateIdle);
        QCOMPARE(player.source().path(), other);
        QCOMPARE(player.source().currentFrame(), 12);
        QCOMPARE(player.window().size(), QSize(8, 8));
        QCOMPARE(messages.texts().last(), QStringLiteral("Parameters loaded."));
    }
};

int runParameterTests(int argc, char** argv)
{
    ParameterTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "parameter_test.moc"
