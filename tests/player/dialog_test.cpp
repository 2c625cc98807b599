#include "bitrate/bitrate_dlg.h"
#include "image/dib_image.h"
#include "image/png_codec.h"
#include "message_recorder.h"
#include "player_test_suites.h"
#include "raw_avi.h"
#include "sheet/contact_sheet_dlg.h"
#include "started_player.h"
#include "ui/average_dialog.h"
#include "ui/caption_label.h"
#include "ui/option_dlg.h"
#include "ui/position_dlg.h"
#include "ui/scale_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <cstdlib>
#include <filesystem>

namespace {

template <typename Widget> Widget* part(const QWidget& dialog, const char* name)
{
    return dialog.findChild<Widget*>(QLatin1String(name));
}

// Runs the command and, once its modal dialog of type Dialog is up, acts on it.
template <typename Dialog>
void withDialogOf(const StartedPlayer& player, PlayerCommand command,
                  const std::function<void(Dialog&)>& act)
{
    InsideLoop answer([] { return qobject_cast<Dialog*>(QApplication::activeModalWidget()); },
                      [&] { act(*qobject_cast<Dialog*>(QApplication::activeModalWidget())); });
    player.trigger(command);
    QVERIFY(answer.ran());
}

} // namespace

class DialogTest : public QObject
{
    Q_OBJECT

private slots:
    void optionOkStoresEveryOptionAndTheViewer()
    {
        StartedPlayer player;
        withDialogOf<COptionDlg>(player, PlayerCommand::Option, [](COptionDlg& dialog) {
            QCOMPARE(part<QComboBox>(dialog, "format")->currentText(), QStringLiteral("bmp"));
            QCOMPARE(part<QSpinBox>(dialog, "jpegQuality")->value(), 75);
            QVERIFY(!part<QSpinBox>(dialog, "delay")->isEnabled());
            part<QSpinBox>(dialog, "everyFrame")->setValue(4);
            part<QComboBox>(dialog, "format")->setCurrentIndex(2);
            dialog.setViewerPath(QStringLiteral("/usr/bin/viewer"));
            QTest::mouseClick(part<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        });
        CSettings& settings = player.settings();
        QCOMPARE(settings.GetOption(OPTION_EVERY_FRAME), 4);
        QCOMPARE(settings.GetOption(OPTION_JPEG), 2);
        QCOMPARE(settings.viewerPath(), std::string("/usr/bin/viewer"));
        // The file has them too, for the next start.
        CSettings reread(player.iniPath());
        reread.LoadOptions();
        reread.LoadViewerPath();
        QCOMPARE(reread.GetOption(OPTION_EVERY_FRAME), 4);
        QCOMPARE(reread.GetOption(OPTION_JPEG), 2);
        QCOMPARE(reread.GetOption(OPTION_JPEG_QUALITY), 75);
        QCOMPARE(reread.viewerPath(), std::string("/usr/bin/viewer"));
    }

    void theChoiceOfFramesGoesToTheSettingsAndBackAndTheRecordingFollowsIt()
    {
        StartedPlayer player;
        QVERIFY(player.panel().OpenVideo(
            qPath(writeRawAvi(player.dir().file("clip.avi"), makeRawAvi(32, 24, 31)))));
        const std::string output = player.dir().file("frames");
        player.panel().setTargetFolder(qPath(output));
        withDialogOf<COptionDlg>(player, PlayerCommand::Option, [](COptionDlg& dialog) {
            QVERIFY(part<QRadioButton>(dialog, "everyFrameChoice")->isChecked());
            QVERIFY(!part<QDoubleSpinBox>(dialog, "everySeconds")->isEnabled());
            QVERIFY(!part<QSpinBox>(dialog, "sceneThreshold")->isEnabled());
            QVERIFY(!part<QCheckBox>(dialog, "provenance")->isChecked());
            part<QRadioButton>(dialog, "everySecondsChoice")->click();
            QVERIFY(!part<QSpinBox>(dialog, "everyFrame")->isEnabled());
            part<QDoubleSpinBox>(dialog, "everySeconds")->setValue(0.4);
            QTest::mouseClick(part<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        });
        QCOMPARE(player.settings().GetOption(OPTION_FRAME_CHOICE), 1);
        QCOMPARE(player.settings().GetOption(OPTION_EVERY_MILLISECONDS), 400);
        {
            COptionDlg dialog(player.settings());
            QVERIFY(part<QRadioButton>(dialog, "everySecondsChoice")->isChecked());
            QCOMPARE(part<QDoubleSpinBox>(dialog, "everySeconds")->value(), 0.4);
            QVERIFY(part<QDoubleSpinBox>(dialog, "everySeconds")->isEnabled());
        }
        // 25 frames a second: one frame every ten.
        player.trigger(PlayerCommand::Record);
        QCOMPARE(fileNames(output),
                 (QStringList{"000000.bmp", "000010.bmp", "000020.bmp", "000030.bmp"}));
    }

    void aRefusedNamePatternKeepsTheDialogAndAnAcceptedOneNamesTheRecording()
    {
        StartedPlayer player;
        QVERIFY(player.panel().OpenVideo(
            qPath(writeRawAvi(player.dir().file("clip.avi"), makeRawAvi(32, 24, 3)))));
        const std::string output = player.dir().file("frames");
        player.panel().setTargetFolder(qPath(output));
        MessageRecorder messages;
        withDialogOf<COptionDlg>(player, PlayerCommand::Option, [&](COptionDlg& dialog) {
            auto* names = part<QLineEdit>(dialog, "fileNames");
            QCOMPARE(names->text(), QStringLiteral("{frame}"));
            names->setText(QStringLiteral("{name}"));
            part<QCheckBox>(dialog, "manifest")->setChecked(true);
            QTest::mouseClick(part<QPushButton>(dialog, "okButton"), Qt::LeftButton);
            QVERIFY(dialog.isVisible());
            QCOMPARE(messages.texts().size(), 1);
            QVERIFY(messages.texts().front().contains(QStringLiteral("{count}")));
            QCOMPARE(player.settings().GetOption(OPTION_MANIFEST), 0);
            names->setText(QStringLiteral("{name}-{frame:2}"));
            QTest::mouseClick(part<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        });
        QCOMPARE(player.settings().GetOption(OPTION_MANIFEST), 1);
        player.trigger(PlayerCommand::Record);
        QCOMPARE(fileNames(output),
                 (QStringList{"clip-00.bmp", "clip-01.bmp", "clip-02.bmp", "frames.csv"}));
    }

    void optionOkTellsWhyTheSettingsCouldNotBeSaved()
    {
        StartedPlayer player;
        std::filesystem::create_directory(player.iniPath());
        MessageRecorder messages;
        withDialogOf<COptionDlg>(player, PlayerCommand::Option, [](COptionDlg& dialog) {
            part<QSpinBox>(dialog, "everyFrame")->setValue(4);
            QTest::mouseClick(part<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        });
        QCOMPARE(messages.texts().size(), 1);
        QVERIFY2(messages.texts().front().contains(QString::fromStdString(player.iniPath()) +
                                                   " can't be written: it is not a regular file"),
                 qPrintable(messages.texts().front()));
        QCOMPARE(player.settings().GetOption(OPTION_EVERY_FRAME), 4);
    }

    void pictureOptionsTakeEffectAtOnceAndTheWindowFollows()
    {
        StartedPlayer player;
        const std::string video = player.dir().file("wide-pixels.mkv");
        QCOMPARE(std::system(("ffmpeg -nostdin -v error -f lavfi -i testsrc=size=64x48 -frames:v "
                              "2 -vf setsar=2/1 -c:v mpeg4 " +
                              video)
                                 .c_str()),
                 0);
        QVERIFY(player.panel().OpenVideo(qPath(video)));
        QCOMPARE(player.window().frame().size(), QSize(64, 48));
        QVERIFY2(player.window().windowTitle().contains(QStringLiteral(", 8:3")),
                 qPrintable(player.window().windowTitle()));
        withDialogOf<COptionDlg>(player, PlayerCommand::Option, [](COptionDlg& dialog) {
            QCOMPARE(part<QComboBox>(dialog, "colorMatrix")->currentIndex(), 0);
            QVERIFY(part<QCheckBox>(dialog, "toneMap")->isChecked());
            QVERIFY(part<QCheckBox>(dialog, "deinterlace")->isChecked());
            QVERIFY(!part<QCheckBox>(dialog, "keepRotation")->isChecked());
            part<QCheckBox>(dialog, "displayAspect")->setChecked(true);
            part<QComboBox>(dialog, "colorMatrix")->setCurrentIndex(2);
            QTest::mouseClick(part<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        });
        QCOMPARE(player.settings().GetOption(OPTION_DISPLAY_ASPECT), 1);
        QCOMPARE(player.settings().GetOption(OPTION_COLOR_MATRIX), 2);
        QCOMPARE(player.source().GetFrameRect(), (FrameRect{0, 0, 128, 48}));
        QCOMPARE(player.window().frame().size(), QSize(128, 48));
        QCOMPARE(player.window().size(), QSize(128, 48));
    }

    void tabGoesFromTheStepToTheFormatAndThenToTheQuality()
    {
        StartedPlayer player;
        COptionDlg dialog(player.settings());
        QStringList order;
        for (QWidget* widget = part<QSpinBox>(dialog, "everyFrame");
             widget && order.size() < 3 && widget != &dialog; widget = widget->nextInFocusChain()) {
            if (QStringList{"everyFrame", "format", "jpegQuality"}.contains(widget->objectName()))
                order << widget->objectName();
        }
        QCOMPARE(order, (QStringList{"everyFrame", "format", "jpegQuality"}));
    }

    void anUnknownFormatShowsNoSelectionAndCancelKeepsEverything()
    {
        StartedPlayer player;
        player.settings().SetOption(OPTION_JPEG, 7);
        {
            COptionDlg dialog(player.settings());
            QCOMPARE(part<QComboBox>(dialog, "format")->currentIndex(), -1);
            part<QSpinBox>(dialog, "everyFrame")->setValue(9);
            dialog.reject();
        }
        QCOMPARE(player.settings().GetOption(OPTION_EVERY_FRAME), 0);
        COptionDlg dialog(player.settings());
        dialog.accept();
        QCOMPARE(player.settings().GetOption(OPTION_JPEG), -1);
    }

    void scaleAndAverageOpenTheirToolsWithTheStoredSettings()
    {
        StartedPlayer player;
        player.settings().iniFile().writeString("ScaleImage", "Scale", "4");
        withDialogOf<CScaleDialog>(player, PlayerCommand::Scale, [](CScaleDialog& dialog) {
            QCOMPARE(part<QComboBox>(dialog, "size")->currentText(), QStringLiteral("800x600"));
            dialog.reject();
        });
        withDialogOf<CAverageDialog>(player, PlayerCommand::Average,
                                     [](CAverageDialog& dialog) { dialog.reject(); });
        // Closing stored the whole section.
        QCOMPARE(player.settings().iniFile().readString("MergeImage", "NoSameFile", ""),
                 std::string("1"));
    }

    void positionByNumberStaysInsideTheVideo()
    {
        StartedPlayer player(demoVideo());
        const auto goTo = [&](const QString& number) {
            withDialogOf<CPositionDlg>(player, PlayerCommand::Position, [&](CPositionDlg& dialog) {
                QCOMPARE(part<QLineEdit>(dialog, "frameNumber")->text(), QStringLiteral("0"));
                part<QLineEdit>(dialog, "frameNumber")->setText(number);
                QTest::mouseClick(part<QPushButton>(dialog, "goToFrameButton"), Qt::LeftButton);
            });
        };
        goTo(QStringLiteral("999999"));
        QCOMPARE(player.source().currentFrame(), 249);
        goTo(QStringLiteral("99999999999999"));
        QCOMPARE(player.source().currentFrame(), 249);
        goTo(QStringLiteral("17"));
        QCOMPARE(player.source().currentFrame(), 17);
        QCOMPARE(player.text(FrameTextControl::CurrentFrame), QStringLiteral("17 00:00:00.680"));
    }

    void positionByLocationGoesToTheMarks()
    {
        StartedPlayer player(demoVideo());
        CFrameSource& source = player.source();
        source.setBeginMark(30);
        CPositionDlg start(source, &player.panel());
        start.show();
        QTest::mouseClick(part<QPushButton>(start, "goToLocationButton"), Qt::LeftButton);
        QCOMPARE(source.currentFrame(), 30);
        QCOMPARE(start.result(), int(QDialog::Accepted));

        CPositionDlg end(source, &player.panel());
        end.show();
        part<QComboBox>(end, "location")->setCurrentIndex(1);
        QTest::mouseClick(part<QPushButton>(end, "goToLocationButton"), Qt::LeftButton);
        QCOMPARE(source.currentFrame(), 249); // the end mark of a video just opened
    }

    void anEmptyNumberIsRefusedBeforeAnyMove()
    {
        StartedPlayer player(demoVideo());
        CFrameSource& source = player.source();
        source.Seek(5);
        CPositionDlg dialog(source, &player.panel());
        dialog.show();
        part<QLineEdit>(dialog, "frameNumber")->clear();
        MessageRecorder messages;
        QTest::mouseClick(part<QPushButton>(dialog, "goToLocationButton"), Qt::LeftButton);
        QCOMPARE(messages.texts(), QStringList{"Please enter an integer."});
        QCOMPARE(source.currentFrame(), 5);
        QVERIFY(dialog.isVisible());

        // Enter in the field closes the dialog as OK, without a move.
        part<QLineEdit>(dialog, "frameNumber")->setText(QStringLiteral("100"));
        QTest::keyClick(part<QLineEdit>(dialog, "frameNumber"), Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(source.currentFrame(), 5);
    }

    void bitrateAnalysesTheOpenVideoAndLeavesThePlayerWhereItWas()
    {
        StartedPlayer player(demoVideo());
        player.source().Seek(17);
        withDialogOf<CBitrateDlg>(player, PlayerCommand::Bitrate, [](CBitrateDlg& dialog) {
            QTRY_VERIFY(!part<QPushButton>(dialog, "startButton")->isEnabled());
            QCOMPARE(part<CCaptionLabel>(dialog, "aviPath")->text(), demoVideo());
            QCOMPARE(part<QLabel>(dialog, "total")->text(), QStringLiteral("651"));
            QCOMPARE(part<QLabel>(dialog, "average")->text(), QStringLiteral("577"));
            QTest::mouseClick(part<QPushButton>(dialog, "closeButton"), Qt::LeftButton);
        });
        QCOMPARE(player.source().currentFrame(), 17);
        QCOMPARE(player.source().state(), CFrameSource::StateIdle);
    }

    void contactSheetDrawsTheOpenVideoAtTheWidthChosen()
    {
        StartedPlayer player(demoVideo());
        const std::string out = player.dir().file("sheet.png");
        withDialogOf<CContactSheetDlg>(player, PlayerCommand::ContactSheet,
                                       [&](CContactSheetDlg& dialog) {
                                           part<QSpinBox>(dialog, "sheetWidth")->setValue(640);
                                           dialog.SaveTo(QString::fromStdString(out));
                                       });
        CDibImage sheet;
        QCOMPARE(LoadPng(out, sheet), 1);
        QCOMPARE(sheet.Width(), 640);
    }

    void bitrateMeasuresAVideoNamedInBytesThatAreNotUtf8()
    {
        StartedPlayer player;
        const std::string video = player.dir().file("clip \xFF.avi");
        std::filesystem::copy_file(demoVideo().toStdString(), video);
        QVERIFY(player.panel().openVideoOrTell(video));
        withDialogOf<CBitrateDlg>(player, PlayerCommand::Bitrate, [](CBitrateDlg& dialog) {
            QVERIFY(dialog.source().isOpen());
            QTRY_COMPARE(part<QLabel>(dialog, "average")->text(), QStringLiteral("577"));
            QTest::mouseClick(part<QPushButton>(dialog, "closeButton"), Qt::LeftButton);
        });
    }
};

int runDialogTests(int argc, char** argv)
{
    DialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "dialog_test.moc"
