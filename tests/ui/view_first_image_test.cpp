#include "desktop/shell.h"
#include "message_recorder.h"
#include "recording_launcher.h"
#include "support/temp_dir.h"
#include "ui/translations.h"
#include "ui/view_first_image.h"
#include "ui_test_suites.h"

#include <QDir>
#include <QLocale>
#include <QTest>
#include <QTranslator>
#include <QUrl>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

QString qPath(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

} // namespace

class ViewFirstImageTest : public QObject
{
    Q_OBJECT

private slots:
    void viewerGetsTheFirstJpegElseBmpElsePng()
    {
        TempDir dir;
        const fs::path images = dir.path() / "holiday frames";
        fs::create_directory(images);
        for (const char* name : {"0.png", "a.bmp", "b 1.jpg", "c.JPG", "my viewer"})
            WriteBytes((images / name).string(), {'x'});
        const QString viewer = qPath(images / "my viewer");
        MessageRecorder recorder;
        RecordingLauncher launcher;
        QVERIFY(ViewFirstImage(nullptr, qPath(images), viewer, launcher));
        fs::remove(images / "b 1.jpg");
        fs::remove(images / "c.JPG");
        QVERIFY(ViewFirstImage(nullptr, qPath(images) + u'/', viewer, launcher));
        fs::remove(images / "a.bmp");
        QVERIFY(ViewFirstImage(nullptr, qPath(images), viewer, launcher));

        QCOMPARE(launcher.started.size(), 3);
        QCOMPARE(launcher.started[0].program, viewer);
        QCOMPARE(launcher.started[0].arguments, QStringList{qPath(images / "b 1.jpg")});
        QCOMPARE(launcher.started[0].workingFolder, qPath(images));
        QCOMPARE(launcher.started[1].arguments, QStringList{qPath(images / "a.bmp")});
        QCOMPARE(launcher.started[2].arguments, QStringList{qPath(images / "0.png")});
        QVERIFY(launcher.opened.isEmpty());
        QVERIFY(recorder.messages().isEmpty());
    }

    void saysSoWhenThereIsNothingToView()
    {
        TempDir images;
        WriteBytes(images.file("only.gif"), {'x'});
        fs::create_directory(images.path() / "folder.jpg");
        MessageRecorder recorder;
        RecordingLauncher launcher;
        QVERIFY(!ViewFirstImage(nullptr, qPath(images.path()), QString(), launcher));
        QVERIFY(!ViewFirstImage(nullptr, qPath(images.path() / "missing"), QString(), launcher));

        QCOMPARE(recorder.texts(),
                 QStringList(
                     2, QStringLiteral("Sorry, no viewable file was found in the target folder.")));
        QCOMPARE(recorder.messages().front().buttons, QMessageBox::Ok);
        QCOMPARE(recorder.messages().front().icon, QMessageBox::Warning);
        QVERIFY(launcher.started.isEmpty() && launcher.opened.isEmpty());
    }

    void theChineseTranslationSaysItInChinese()
    {
        QTranslator* chinese = installTranslation(QLocale(QStringLiteral("zh_CN")),
                                                  {QStringLiteral(CLIPMINT_BIN_DIR)});
        QVERIFY(chinese != nullptr);
        TempDir empty;
        MessageRecorder recorder;
        RecordingLauncher launcher;
        ViewFirstImage(nullptr, qPath(empty.path()), QString(), launcher);
        QCoreApplication::removeTranslator(chinese);
        delete chinese;
        QCOMPARE(recorder.texts(),
                 QStringList{QStringLiteral(u"抱歉，在目标文件夹中找不到可查看的文件。")});
    }

    void aViewerAndAnImageWithHostileNamesGetThemVerbatim()
    {
        // Blanks, both quotes, a line break and a leading dash, in a folder given relatively.
        TempDir dir;
        const std::string odd = "-a 'b' \"c\"\nd";
        fs::create_directory(dir.path() / odd);
        WriteBytes((dir.path() / odd / (odd + ".jpg")).string(), {'x'});
        const fs::path viewer = dir.path() / (odd + " viewer");
        WriteText(viewer, "#!/bin/sh\nprintf '%s|%s' \"$#\" \"$1\" > \"${0%/*}/seen.tmp\"\n"
                          "mv \"${0%/*}/seen.tmp\" \"${0%/*}/seen\"\n");
        fs::permissions(viewer, fs::perms::owner_all);
        const QString current = QDir::currentPath();
        QDir::setCurrent(qPath(dir.path()));
        const bool started = ViewFirstImage(nullptr, QString::fromStdString(odd), qPath(viewer));
        QDir::setCurrent(current);
        QVERIFY(started);
        QTRY_VERIFY(fs::exists(dir.path() / "seen"));
        QCOMPARE(ReadText(dir.path() / "seen"),
                 "1|" + (dir.path() / odd / (odd + ".jpg")).string());
    }

    void desktopOpensTheImageWhenTheViewerCannot()
    {
        TempDir dir;
        WriteBytes(dir.file("viewer"), {'x'});
        const QString image = qPath(dir.path() / "shot #1.jpg");
        const QList<QUrl> imageUrl{QUrl::fromLocalFile(image)};
        QCOMPARE(imageUrl.front().toLocalFile(), image);

        // No viewer set, a viewer uninstalled since, a folder chosen as the viewer.
        for (const QString& viewer : {QString(), qPath(dir.path() / "gone"), qPath(dir.path())}) {
            RecordingLauncher launcher;
            QVERIFY(OpenInViewer(image, viewer, launcher));
            QVERIFY2(launcher.started.isEmpty(), qPrintable(viewer));
            QCOMPARE(launcher.opened, imageUrl);
        }
        RecordingLauncher nothingStarts(RecordingLauncher::Outcome::Fails);
        QVERIFY(OpenInViewer(image, qPath(dir.path() / "viewer"), nothingStarts));
        QCOMPARE(nothingStarts.started.size(), 1);
        QCOMPARE(nothingStarts.opened, imageUrl);

        // When the desktop can't either, at once or once it has tried, the user is told.
        for (const auto outcome :
             {RecordingLauncher::Outcome::Fails, RecordingLauncher::Outcome::Refuses}) {
            RecordingLauncher noViewer(RecordingLauncher::Outcome::Fails, outcome);
            MessageRecorder told;
            ViewImage(nullptr, image, QString(), noViewer);
            QCoreApplication::processEvents();
            QCOMPARE(told.texts().size(), 1);
            QVERIFY2(told.texts().front().startsWith("Sorry, nothing on this desktop could open " +
                                                     image + "."),
                     qPrintable(told.texts().front()));
        }
    }
};

int runViewFirstImageTests(int argc, char** argv)
{
    ViewFirstImageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "view_first_image_test.moc"
