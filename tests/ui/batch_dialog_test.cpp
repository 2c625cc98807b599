#include "message_recorder.h"
#include "settings/batch_settings.h"
#include "settings/settings.h"
#include "support/batch_fixture.h"
#include "support/temp_dir.h"
#include "ui/average_dialog.h"
#include "ui/caption_label.h"
#include "ui/scale_dialog.h"
#include "ui_test_suites.h"

#include <QCheckBox>
#include <QComboBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

template <typename Widget> Widget* part(const QWidget& dialog, const char* name)
{
    auto* widget = dialog.findChild<Widget*>(QLatin1String(name));
    if (widget == nullptr)
        qFatal("no control %s", name);
    return widget;
}

QString qPath(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

// A folder of source bitmaps, a settings file and a trash, for one dialog.
struct Workshop
{
    explicit Workshop(std::initializer_list<const char*> names)
    {
        fs::create_directory(source);
        for (const char* name : names) {
            CDibImage image = SolidImage(4, 2, 10, 20, 30);
            SaveTestImage(ImageFormat::Bmp, (source / name).string(), image);
        }
    }

    TempDir dir;
    fs::path source = dir.path() / "photos";
    fs::path target = dir.path() / "scaled";
    CSettings settings{dir.path() / "clipmint.ini"};
    FakeTrash trash{dir.path() / "trash"};
};

// Runs act inside the first event pump of a run that Begin starts; false when no run was on.
bool beginAndDuringTheRun(CBatchDialog& dialog, const std::function<void()>& act)
{
    bool ranDuringTheRun = false;
    QTimer::singleShot(0, &dialog, [&] {
        ranDuringTheRun = dialog.isRunning();
        act();
    });
    QTest::mouseClick(part<QPushButton>(dialog, "beginButton"), Qt::LeftButton);
    return ranDuringTheRun;
}

} // namespace

class BatchDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void scaleRunsOverAFolderAndKeepsItsSettings()
    {
        Workshop shop({"a.bmp", "b.bmp"});
        MessageRecorder messages;
        CScaleDialog dialog(shop.settings, shop.trash);
        dialog.show();
        QCOMPARE(part<QSpinBox>(dialog, "jpegQuality")->value(), 95);
        QCOMPARE(part<QComboBox>(dialog, "sourceType")->currentText(), QStringLiteral("*.bmp"));
        QCOMPARE(part<QComboBox>(dialog, "size")->currentText(), QStringLiteral("x1.5"));
        QVERIFY(part<QCheckBox>(dialog, "deleteSources")->isChecked());
        QVERIFY(!part<QSpinBox>(dialog, "jpegQuality")->isEnabled());

        QPushButton* begin = part<QPushButton>(dialog, "beginButton");
        QTest::mouseClick(begin, Qt::LeftButton);
        part<CCaptionLabel>(dialog, "sourceFolder")->setText(qPath(shop.dir.path()));
        QTest::mouseClick(begin, Qt::LeftButton);
        part<CCaptionLabel>(dialog, "targetFolder")->setText(qPath(shop.target));
        QTest::mouseClick(begin, Qt::LeftButton);

        part<CCaptionLabel>(dialog, "sourceFolder")->setText(qPath(shop.source));
        part<QComboBox>(dialog, "targetType")->setCurrentIndex(0);
        part<QComboBox>(dialog, "size")->setCurrentIndex(1);
        QVERIFY(beginAndDuringTheRun(dialog, [&] {
            QCOMPARE(begin->text(), QStringLiteral("Stop"));
            QVERIFY(!part<QComboBox>(dialog, "targetType")->isEnabled());
            QVERIFY(!part<QPushButton>(dialog, "resetButton")->isEnabled());
            // A JPEG target keeps its quality controls.
            QVERIFY(part<QSpinBox>(dialog, "jpegQuality")->isEnabled());
            QCOMPARE(part<CCaptionLabel>(dialog, "processing")->text(),
                     qPath(shop.source / "a.bmp"));
        }));
        QCOMPARE(messages.texts(),
                 (QStringList{
                     "Please select the source folder.", "Please select the target folder.",
                     "Sorry, can't find any valid file in the source folder.", "Scale finished."}));
        QCOMPARE(FileNames(shop.target), (std::vector<std::string>{"a.jpg", "b.jpg"}));
        QCOMPARE(shop.trash.trashed.size(), size_t(2));
        QCOMPARE(part<QProgressBar>(dialog, "progress")->value(), 2);
        QCOMPARE(begin->text(), QStringLiteral("Begin"));
        QVERIFY(part<QComboBox>(dialog, "targetType")->isEnabled());

        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(!dialog.isVisible());
        const ScaleToolSettings stored = LoadScaleToolSettings(shop.settings.iniFile());
        QCOMPARE(stored.targetFolder, shop.target.string());
        QCOMPARE(stored.targetType, 0);
        QCOMPARE(stored.size, 1);
    }

    void stopAndCloseEndARunBeforeTheNextFile()
    {
        Workshop shop({"a.bmp", "b.bmp", "c.bmp"});
        MessageRecorder messages;
        CScaleDialog dialog(shop.settings, shop.trash);
        dialog.show();
        part<CCaptionLabel>(dialog, "sourceFolder")->setText(qPath(shop.source));
        part<CCaptionLabel>(dialog, "targetFolder")->setText(qPath(shop.target));

        QPushButton* begin = part<QPushButton>(dialog, "beginButton");
        QVERIFY(
            beginAndDuringTheRun(dialog, [begin] { QTest::mouseClick(begin, Qt::LeftButton); }));
        QCOMPARE(messages.texts(), QStringList{"Scale finished."});
        QVERIFY(FileNames(shop.target).empty());
        QCOMPARE(FileNames(shop.source).size(), size_t(3));

        // Closing during a run stops it, and the dialog goes once it has.
        QVERIFY(beginAndDuringTheRun(dialog, [&dialog] { dialog.close(); }));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(messages.texts(), QStringList{"Scale finished."});
        QVERIFY(FileNames(shop.target).empty());
        QCOMPARE(LoadScaleToolSettings(shop.settings.iniFile()).sourceFolder, shop.source.string());
    }

    void aFailedWriteEndsTheRunAndSourcesStay()
    {
        Workshop shop({"a.bmp", "b.bmp", "c.bmp"});
        FakeTrash refusing(shop.dir.path() / "trash", FakeTrash::Mode::Refuse);
        MessageRecorder messages;
        CScaleDialog dialog(shop.settings, refusing);
        dialog.show();
        part<CCaptionLabel>(dialog, "sourceFolder")->setText(qPath(shop.source));
        part<CCaptionLabel>(dialog, "targetFolder")->setText(qPath(shop.target));
        fs::create_directories(shop.target / "b.bmp");
        QTest::mouseClick(part<QPushButton>(dialog, "beginButton"), Qt::LeftButton);

        QCOMPARE(messages.texts(),
                 (QStringList{QStringLiteral("Sorry, can't write the file %1. Is a directory.")
                                  .arg(qPath(shop.target / "b.bmp")),
                              "1 source file(s) could not be moved to the trash and stay where "
                              "they were: the trash is full."}));
        QCOMPARE(FileNames(shop.source), (std::vector<std::string>{"a.bmp", "b.bmp", "c.bmp"}));
        QCOMPARE(part<QPushButton>(dialog, "beginButton")->text(), QStringLiteral("Begin"));
        QVERIFY(part<QPushButton>(dialog, "browseSourceButton")->isEnabled());
        // The run may have gone on to later files by the time the result failed: the dialog
        // shows the one that failed, and no progress.
        QCOMPARE(part<CCaptionLabel>(dialog, "processing")->text(), qPath(shop.source / "b.bmp"));
        QCOMPARE(part<QProgressBar>(dialog, "progress")->value(), 0);
    }

    void aVanishedSourceAndARemovedTargetFolderAreToldAndEverySourceStays()
    {
        Workshop shop({"a.bmp", "b.bmp", "c.bmp"});
        MessageRecorder messages;
        CAverageDialog dialog(shop.settings, shop.trash);
        dialog.show();
        part<CCaptionLabel>(dialog, "sourceFolder")->setText(qPath(shop.source));
        part<CCaptionLabel>(dialog, "targetFile")->setText(qPath(shop.target / "avg.bmp"));
        part<QCheckBox>(dialog, "autoNumber")->setChecked(false);
        part<QCheckBox>(dialog, "deleteSources")->setChecked(true);
        QVERIFY(beginAndDuringTheRun(dialog, [&shop] {
            fs::remove(shop.source / "c.bmp");
            fs::remove_all(shop.target);
        }));
        QCOMPARE(messages.texts(),
                 (QStringList{QStringLiteral("Sorry, can't write the file %1. No such file or "
                                             "directory.")
                                  .arg(qPath(shop.target / "avg.bmp")),
                              "1 source file(s) could not be read and stay where they were."}));
        QCOMPARE(FileNames(shop.source), (std::vector<std::string>{"a.bmp", "b.bmp"}));
        QVERIFY(!fs::exists(shop.target));
        QCOMPARE(part<QPushButton>(dialog, "beginButton")->text(), QStringLiteral("Begin"));
        QVERIFY(part<QPushButton>(dialog, "browseSourceButton")->isEnabled());
    }

    void hostileTargetNamesWorkOrAreRefusedWithTheReason()
    {
        // Blanks, both quotes, a line break and a leading dash.
        Workshop shop({"a.bmp"});
        const std::string odd = "-a 'b' \"c\"\nd";
        MessageRecorder messages;
        CScaleDialog scale(shop.settings, shop.trash);
        part<CCaptionLabel>(scale, "sourceFolder")->setText(qPath(shop.source));
        part<CCaptionLabel>(scale, "targetFolder")->setText(qPath(shop.dir.path() / odd));
        part<QCheckBox>(scale, "deleteSources")->setChecked(false);
        QTest::mouseClick(part<QPushButton>(scale, "beginButton"), Qt::LeftButton);
        QCOMPARE(FileNames(shop.dir.path() / odd), std::vector<std::string>{"a.bmp"});

        CAverageDialog average(shop.settings, shop.trash);
        part<CCaptionLabel>(average, "sourceFolder")->setText(qPath(shop.source));
        part<QCheckBox>(average, "autoNumber")->setChecked(false);
        part<QCheckBox>(average, "deleteSources")->setChecked(false);
        CCaptionLabel* target = part<CCaptionLabel>(average, "targetFile");
        QPushButton* begin = part<QPushButton>(average, "beginButton");
        target->setText(qPath(shop.dir.path() / odd / (odd + ".png")));
        QTest::mouseClick(begin, Qt::LeftButton);
        QVERIFY(fs::exists(shop.dir.path() / odd / (odd + "_1024x768.png")));

        // A name that Qt holds with a replacement character for a byte that is not UTF-8.
        const QString unpassable = qPath(shop.dir.path() / "avg") + QChar::ReplacementCharacter;
        target->setText(unpassable + ".png");
        QTest::mouseClick(begin, Qt::LeftButton);
        QCOMPARE(messages.texts(),
                 (QStringList{"Scale finished.", "Average finished.",
                              "Sorry, the name " + unpassable +
                                  ".png is not UTF-8 text, so the windows can't pass it on. "
                                  "Please rename it, or use clipmint-cli."}));
        QCOMPARE(FileNames(shop.dir.path()), (std::vector<std::string>{odd, "photos"}));
    }

    void averageNumbersItsTargetAndWritesItsCopies()
    {
        Workshop shop({"a.bmp", "b.bmp"});
        MessageRecorder messages;
        CAverageDialog dialog(shop.settings, shop.trash);
        dialog.show();
        QVERIFY(part<QCheckBox>(dialog, "autoNumber")->isChecked());
        part<CCaptionLabel>(dialog, "sourceFolder")->setText(qPath(shop.source));
        QPushButton* begin = part<QPushButton>(dialog, "beginButton");
        QTest::mouseClick(begin, Qt::LeftButton);
        CCaptionLabel* target = part<CCaptionLabel>(dialog, "targetFile");
        target->setText(qPath(shop.dir.path() / "avg.jpg"));
        QTest::mouseClick(begin, Qt::LeftButton);

        QCOMPARE(target->text(), qPath(shop.dir.path() / "avg000000.jpg"));
        QVERIFY(fs::exists(shop.dir.path() / "avg000000_800x600.jpg"));
        QVERIFY(fs::exists(shop.dir.path() / "avg000000_1024x768.jpg"));
        QVERIFY(FileNames(shop.source).empty());

        // Nothing readable: nothing is written.
        WriteText(shop.source / "c.bmp", "no bitmap");
        target->setText(qPath(shop.dir.path() / "avg.bmp"));
        QTest::mouseClick(begin, Qt::LeftButton);
        QCOMPARE(
            messages.texts(),
            (QStringList{"Please select the target file.", "Average finished.", "Average failed.",
                         "1 source file(s) could not be read and stay where they were."}));
        QVERIFY(!fs::exists(shop.dir.path() / "avg000000.bmp"));
    }
};

int runBatchDialogTests(int argc, char** argv)
{
    BatchDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "batch_dialog_test.moc"
