#include "message_recorder.h"
#include "player_test_suites.h"
#include "raw_avi.h"
#include "started_player.h"
#include "support/faults.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <optional>

namespace {

// Numbered names as a recording writes them.
QStringList recordedNames(std::initializer_list<int> frames, const char* extension)
{
    QStringList names;
    for (int frame : frames)
        names << QStringLiteral("%1.%2").arg(frame, 6, 10, QLatin1Char('0')).arg(extension);
    return names;
}

// A player on a small uncompressed video of `frames` frames, recording into "out/frames" of
// its temporary folder, a folder that does not exist yet.
struct RecordingPlayer
{
    explicit RecordingPlayer(int frames, int format = 1) : output(player.dir().file("out/frames"))
    {
        player.panel().OpenVideo(
            qPath(writeRawAvi(player.dir().file("clip.avi"), makeRawAvi(32, 24, frames))));
        player.panel().setTargetFolder(qPath(output));
        player.settings().SetOption(OPTION_JPEG, format);
    }

    StartedPlayer player;
    std::string output;
};

// Answers the next file dialog with path, from inside its own event loop.
std::unique_ptr<InsideLoop> answerFileDialog(const QString& path)
{
    return std::make_unique<InsideLoop>(
        [] { return qobject_cast<QFileDialog*>(QApplication::activeModalWidget()); },
        [path] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            dialog->selectFile(path);
            static_cast<QDialog*>(dialog)->accept(); // QFileDialog hides its accept()
        });
}

bool startsWith(const std::vector<std::uint8_t>& bytes, std::initializer_list<std::uint8_t> head)
{
    return bytes.size() >= head.size() && std::equal(head.begin(), head.end(), bytes.begin());
}

} // namespace

class RecordingTest : public QObject
{
    Q_OBJECT

private slots:
    void recordSavesEveryStepthFrameFromTheCurrentOne()
    {
        RecordingPlayer recording(31);
        StartedPlayer& player = recording.player;
        player.settings().SetOption(OPTION_EVERY_FRAME, 4);
        player.source().Seek(10);
        player.trigger(PlayerCommand::Record);
        QCOMPARE(fileNames(recording.output), recordedNames({10, 15, 20, 25, 30}, "jpg"));
        QCOMPARE(player.source().state(), CFrameSource::StateIdle);
        QCOMPARE(player.source().currentFrame(), 30);
        QVERIFY(player.action(PlayerCommand::Play)->isEnabled());
    }

    void periodRecordSavesTheMarkedRange()
    {
        RecordingPlayer recording(31, 2);
        StartedPlayer& player = recording.player;
        player.trigger(PlayerCommand::StartPosition);
        player.trigger(PlayerCommand::EndPosition);
        player.trigger(PlayerCommand::PeriodRecord);
        QCOMPARE(fileNames(recording.output), recordedNames({0}, "png"));

        player.source().Seek(3);
        player.trigger(PlayerCommand::EndPosition);
        player.settings().SetOption(OPTION_JPEG, 0);
        player.trigger(PlayerCommand::PeriodRecord);
        QCOMPARE(fileNames(recording.output), recordedNames({0}, "bmp") +
                                                  recordedNames({0}, "png") +
                                                  recordedNames({1, 2, 3}, "bmp"));
    }

    void stopDuringARecordingKeepsWhatWasWritten()
    {
        RecordingPlayer recording(31);
        StartedPlayer& player = recording.player;
        InsideLoop stop([&] { return player.source().currentFrame() >= 5; },
                        [&] { player.trigger(PlayerCommand::Stop); });
        player.trigger(PlayerCommand::Record);
        QVERIFY(stop.ran());
        const int stoppedAt = player.source().currentFrame();
        QCOMPARE(player.source().state(), CFrameSource::StateIdle);
        QVERIFY(stoppedAt >= 5 && stoppedAt < 30);
        // Every frame before the one the stop was noticed at, and perhaps that one.
        const QStringList written = fileNames(recording.output);
        QVERIFY(written.size() == stoppedAt || written.size() == stoppedAt + 1);
        for (int frame = 0; frame < written.size(); ++frame)
            QCOMPARE(written[frame], recordedNames({frame}, "jpg").first());
    }

    void closingTheVideoWindowDuringARecordingStopsItThenClosesBoth()
    {
        RecordingPlayer recording(31);
        StartedPlayer& player = recording.player;
        bool visibleAfterClose = false;
        InsideLoop close([&] { return player.source().currentFrame() >= 3; },
                         [&] {
                             player.window().close();
                             visibleAfterClose = player.window().isVisible();
                         });
        player.trigger(PlayerCommand::Record);
        QVERIFY(close.ran());
        // The loop ended first, at the frame in progress, with the windows still there.
        QVERIFY(visibleAfterClose);
        const qsizetype written = fileNames(recording.output).size();
        QVERIFY(written >= 3 && written < 31);
        QTRY_VERIFY(!player.window().isVisible());
        QVERIFY(!player.panel().isVisible());
        QCOMPARE(fileNames(recording.output).size(), written);
    }

    void aFileThatCantBeWrittenEndsTheRecordingWithItsReason()
    {
        RecordingPlayer recording(31, 0);
        StartedPlayer& player = recording.player;
        std::filesystem::create_directories(recording.output + "/000002.bmp");
        MessageRecorder messages;
        player.trigger(PlayerCommand::Record);
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts().first().startsWith("Sorry, can't write the file " +
                                                     qPath(recording.output) + "/000002.bmp."),
                 qPrintable(messages.texts().first()));
        QCOMPARE(player.source().state(), CFrameSource::StateIdle);
        // The display went on with the decoder while the frame was saved; no later file appears.
        QVERIFY(player.source().currentFrame() >= 2);
        QCOMPARE(fileNames(recording.output), recordedNames({0, 1}, "bmp"));
        QVERIFY(player.action(PlayerCommand::Record)->isEnabled());
    }

    void aTargetFolderThatCantBeMadeIsReported()
    {
        RecordingPlayer recording(3);
        StartedPlayer& player = recording.player;
        WriteBytes(player.dir().file("plain-file"), {1});
        player.panel().setTargetFolder(qPath(player.dir().file("plain-file/frames")));
        MessageRecorder messages;
        player.trigger(PlayerCommand::Record);
        QCOMPARE(messages.texts(),
                 QStringList{"Sorry, can't create target folder. Please check it. (Not a "
                             "directory)"});
        QCOMPARE(player.source().currentFrame(), 0);
    }

    void theDiskFillingUpEndsTheRecordingAndLeavesOnlyWholeImages()
    {
        RecordingPlayer recording(31, 0);
        StartedPlayer& player = recording.player;
        std::optional<FileSizeLimit> full;
        // Files are put in place behind the decoder: the disk fills once three are there.
        const QString output = qPath(recording.output);
        InsideLoop fill([&] { return QDir(output).entryList({"*.bmp"}, QDir::Files).size() >= 3; },
                        [&] { full.emplace(1000); });
        MessageRecorder messages;
        player.trigger(PlayerCommand::Record);
        full.reset();
        QVERIFY(fill.ran());
        const QStringList written = fileNames(recording.output);
        QVERIFY(written.size() >= 3 && written.size() < 31);
        QCOMPARE(written,
                 recordedNames({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, "bmp").mid(0, written.size()));
        for (const QString& name : written) {
            CDibImage image;
            QCOMPARE(image.LoadBmp(recording.output + "/" + name.toStdString()), 1);
        }
        // The bitmap writer's exception names the file that the disk had no room for.
        QCOMPARE(messages.texts().size(), 1);
        const QString failed =
            qPath(recording.output) + "/" + recordedNames({int(written.size())}, "bmp")[0];
        QVERIFY2(messages.texts()[0].contains(failed + ": File too large."),
                 qPrintable(messages.texts()[0]));
        QCOMPARE(player.source().state(), CFrameSource::StateIdle);
        QVERIFY(player.action(PlayerCommand::Record)->isEnabled());
    }

    void aFullDiskKeepsTheImageThatSaveCurrentImageWouldReplace()
    {
        RecordingPlayer recording(3);
        StartedPlayer& player = recording.player;
        const std::string shot = player.dir().file("shots/shot.png");
        std::filesystem::create_directories(player.dir().file("shots"));
        auto answer = answerFileDialog(qPath(shot));
        player.trigger(PlayerCommand::SaveCurrentImage);
        const std::vector<std::uint8_t> old = ReadBytes(shot);

        player.source().Seek(2);
        answer = answerFileDialog(qPath(shot));
        InsideLoop replace(
            [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); },
            [] {
                qobject_cast<QMessageBox*>(QApplication::activeModalWidget())
                    ->button(QMessageBox::Yes)
                    ->click();
            });
        MessageRecorder messages;
        {
            const FileSizeLimit full(100);
            player.trigger(PlayerCommand::SaveCurrentImage);
        }
        QVERIFY(replace.ran());
        QCOMPARE(messages.texts(),
                 QStringList("Sorry, can't write the file " + qPath(shot) + ". File too large."));
        QVERIFY(ReadBytes(shot) == old);
        QCOMPARE(fileNames(player.dir().file("shots")), QStringList("shot.png"));
    }

    void aFolderNobodyMayWriteRefusesRecordingAndSavingWithTheReason()
    {
        const std::optional<std::string> locked = FolderNobodyMayWrite();
        if (!locked)
            QSKIP("no folder that nobody may write");
        RecordingPlayer recording(3);
        StartedPlayer& player = recording.player;
        player.panel().setTargetFolder(qPath(*locked));
        MessageRecorder messages;
        player.trigger(PlayerCommand::Record);
        auto answer = answerFileDialog(qPath(*locked + "/shot.png"));
        player.trigger(PlayerCommand::SaveCurrentImage);
        QCOMPARE(messages.texts().size(), 2);
        for (const QString& file : {QStringLiteral("000000.jpg"), QStringLiteral("shot.png")})
            QVERIFY2(messages.texts().join('\n').contains("Sorry, can't write the file " +
                                                          qPath(*locked) + "/" + file + ". "),
                     qPrintable(messages.texts().join('\n')));
        QCOMPARE(player.source().state(), CFrameSource::StateIdle);
    }

    void aVideoCutWhileOpenShowsNoPictureForTheLostFramesAndSaysSo()
    {
        RecordingPlayer recording(3);
        StartedPlayer& player = recording.player;
        const std::string video = player.dir().file("long.avi");
        writeRawAvi(video, makeRawAvi(64, 48, 20));
        QVERIFY(player.panel().OpenVideo(qPath(video)));
        // Half the file goes, as when a copy that is still being made is opened.
        std::filesystem::resize_file(video, std::filesystem::file_size(video) / 2);

        player.source().Seek(18);
        QVERIFY(player.window().frame().isNull());
        MessageRecorder messages;
        auto answer = answerFileDialog(qPath(player.dir().file("lost.png")));
        player.trigger(PlayerCommand::SaveCurrentImage);
        QVERIFY(!std::filesystem::exists(player.dir().file("lost.png")));
        player.source().Seek(0);
        player.trigger(PlayerCommand::Record);
        QCOMPARE(messages.texts(),
                 (QStringList{"Sorry, this frame can't be decoded, so it was not saved.",
                              "Sorry, 10 of the frames could not be decoded and were not saved."}));
        QCOMPARE(fileNames(recording.output).size(), 10);
        QCOMPARE(player.source().state(), CFrameSource::StateIdle);
    }

    void hostileFolderNamesWorkOrAreRefusedWithTheReason()
    {
        RecordingPlayer recording(2);
        StartedPlayer& player = recording.player;
        // Blanks, both quotes, a line break and a leading dash.
        const std::string odd = player.dir().file("-a 'b' \"c\"\nd");
        player.panel().setTargetFolder(qPath(odd));
        MessageRecorder messages;
        player.trigger(PlayerCommand::Record);
        QCOMPARE(fileNames(odd), recordedNames({0, 1}, "jpg"));

        // Too long a name for the file system, and a name that Qt holds with a replacement
        // character for a byte that is not UTF-8: neither makes any folder.
        const QString tooLong = qPath(player.dir().file(std::string(300, 'n')));
        const QString unpassable = qPath(player.dir().file("caf")) + QChar::ReplacementCharacter;
        for (const QString& folder : {tooLong, unpassable}) {
            player.panel().setTargetFolder(folder);
            player.trigger(PlayerCommand::Record);
        }
        QCOMPARE(messages.texts(),
                 (QStringList{"Sorry, can't create target folder. Please check it. (File name "
                              "too long)",
                              "Sorry, the name " + unpassable +
                                  " is not UTF-8 text, so the windows can't pass it on. Please "
                                  "rename it, or use clipmint-cli."}));
        QStringList made;
        for (const auto& entry : std::filesystem::directory_iterator(player.dir().path()))
            made << QString::fromStdString(entry.path().filename());
        made.sort();
        QCOMPARE(made, (QStringList{QString::fromStdString(std::filesystem::path(odd).filename()),
                                    "clip.avi"}));
    }

    void saveCurrentImageWritesTheTypeItsNameAsksFor()
    {
        RecordingPlayer recording(3);
        StartedPlayer& player = recording.player;
        player.source().Seek(1);
        const std::string shot = player.dir().file("shot.JPEG");
        auto answer = answerFileDialog(qPath(shot));
        player.trigger(PlayerCommand::SaveCurrentImage);
        QVERIFY(startsWith(ReadBytes(shot), {0xFF, 0xD8}));

        const std::string gif = player.dir().file("shot.gif");
        answer = answerFileDialog(qPath(gif));
        MessageRecorder messages;
        player.trigger(PlayerCommand::SaveCurrentImage);
        QCOMPARE(messages.texts(),
                 QStringList{"Sorry, the valid extension only can be jpg, png or bmp."});
        QVERIFY(!std::filesystem::exists(gif));

        // A name without an extension is taken as a JPEG name.
        answer = answerFileDialog(qPath(player.dir().file("plain")));
        player.trigger(PlayerCommand::SaveCurrentImage);
        QVERIFY(startsWith(ReadBytes(player.dir().file("plain.jpg")), {0xFF, 0xD8}));
    }
};

int runRecordingTests(int argc, char** argv)
{
    RecordingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "recording_test.moc"
