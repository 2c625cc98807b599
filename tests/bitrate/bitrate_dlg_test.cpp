#include "bitrate/bitrate_dlg.h"
#include "bitrate/chart_ctrl.h"
#include "bitrate/frame_chart_ctrl.h"
#include "bitrate_test_suites.h"
#include "ffmpeg_tool.h"
#include "image/dib_image.h"
#include "image/png_codec.h"
#include "message_recorder.h"
#include "raw_avi.h"
#include "support/faults.h"
#include "support/temp_dir.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <optional>

namespace {

// An AVI file whose frames have exactly the given stored sizes, at rate / scale frames a second.
std::string writeSizedAvi(const TempDir& dir, const std::vector<std::uint32_t>& sizes,
                          std::uint32_t rate, std::uint32_t scale = 1, std::size_t padTo = 0)
{
    RawAvi avi;
    avi.rate = rate;
    avi.scale = scale;
    avi.padTo = padTo;
    for (std::uint32_t size : sizes)
        avi.frames.emplace_back(size, std::uint8_t(1));
    return writeRawAvi(dir.file("sized.avi"), avi);
}

QString qPath(const std::string& path)
{
    return QString::fromStdString(path);
}

QString field(const CBitrateDlg& dialog, const char* name)
{
    return dialog.findChild<QLabel*>(QLatin1String(name))->text();
}

QPushButton* button(const CBitrateDlg& dialog, const char* name)
{
    return dialog.findChild<QPushButton*>(QLatin1String(name));
}

// The figures as the dialog shows them: Average, Max, Min and the coefficient of variation.
QStringList figures(const CBitrateDlg& dialog)
{
    return {field(dialog, "average"), field(dialog, "maximum"), field(dialog, "minimum"),
            field(dialog, "variation")};
}

QList<double> chartValues(const CBitrateDlg& dialog)
{
    const std::vector<double>& values = dialog.chart().layers().values();
    return QList<double>(values.begin(), values.end());
}

// Shows the dialog, as the Bitrate command does, and waits for the run it starts to end.
void showAndRun(CBitrateDlg& dialog)
{
    dialog.show();
    QTRY_COMPARE(button(dialog, "startButton")->text(), QStringLiteral("Start"));
    QCOMPARE(dialog.source().state(), CFrameSource::StateIdle);
}

// Presses Stop when the given number of frame sizes has arrived.
class StoppedDialog : public CBitrateDlg
{
public:
    StoppedDialog(const QString& path, int stopAfter) : CBitrateDlg(path), m_stopAfter(stopAfter) {}

    void receiveSampleSize(std::uint32_t bytes) override
    {
        CBitrateDlg::receiveSampleSize(bytes);
        if (++m_received == m_stopAfter)
            button(*this, "startButton")->click();
    }

private:
    int m_stopAfter;
    int m_received = 0;
};

} // namespace

class BitrateDlgTest : public QObject
{
    Q_OBJECT

private slots:
    void theFramesViewChartsEveryFrameReadOnceAndFollowsTheDialogsSize()
    {
        CBitrateDlg dialog(qPath(CLIPMINT_DEMO_VIDEO));
        showAndRun(dialog);
        dialog.showView(CBitrateDlg::View::Frames);
        QCOMPARE(dialog.view(), CBitrateDlg::View::Frames);
        const FrameSeries& series = dialog.frameChart().series();
        QCOMPARE(int(series.frames.size()), 250);
        QCOMPARE(series.frames.front().type, PictureType::I);
        const StoredFrame* seriesStart = series.frames.data();
        dialog.showView(CBitrateDlg::View::Seconds);
        dialog.showView(CBitrateDlg::View::Frames);
        QCOMPARE(dialog.frameChart().series().frames.data(), seriesStart);
        const QSize before = dialog.frameChart().picture().size();
        dialog.resize(dialog.size() + QSize(200, 150));
        QTRY_COMPARE(dialog.frameChart().picture().size(), before + QSize(200, 150));
    }

    void equalFramesGiveOneFigureEverywhereAndTheFinishedRunCantStartAgain()
    {
        TempDir dir;
        // 1,267,200 bytes over the 9 whole seconds before the last frame are 1100 units of 128.
        CBitrateDlg dialog(
            qPath(writeSizedAvi(dir, std::vector<std::uint32_t>(250, 5000), 25, 1, 1267200)));
        showAndRun(dialog);
        QCOMPARE(field(dialog, "total"), QStringLiteral("1100"));
        QCOMPARE(figures(dialog), QStringList({"977", "977", "977", "0.000"}));
        QCOMPARE(chartValues(dialog), QList<double>(10, 977));
        QCOMPARE(dialog.chart().layers().timeRange(), 10u);
        QVERIFY(!button(dialog, "startButton")->isEnabled());
        QVERIFY(button(dialog, "saveButton")->isEnabled());
    }

    void aSecondIsTheRoundedFrameRatesNumberOfFrames()
    {
        TempDir dir;
        // 29.97 frames a second make seconds of 30 frames: 30 x 1280 bytes are 300 kbps.
        CBitrateDlg dialog(
            qPath(writeSizedAvi(dir, std::vector<std::uint32_t>(60, 1280), 30000, 1001)));
        showAndRun(dialog);
        QCOMPARE(chartValues(dialog), QList<double>({300, 300}));
        QCOMPARE(dialog.chart().layers().timeRange(), 2u);
    }

    void aPartSecondIsLeftOutAndTheVariationNeedsTwoWholeSeconds()
    {
        TempDir dir;
        // 2.5 seconds at 10 frames a second: 100 kbps, 200 kbps and a half second left out.
        std::vector<std::uint32_t> sizes(10, 1280);
        sizes.insert(sizes.end(), 10, 2560);
        sizes.insert(sizes.end(), 5, 99999);
        CBitrateDlg measured(qPath(writeSizedAvi(dir, sizes, 10)));
        showAndRun(measured);
        QCOMPARE(measured.chart().layers().timeRange(), 3u);
        QCOMPARE(chartValues(measured), QList<double>({100, 200}));
        QCOMPARE(figures(measured), QStringList({"150", "200", "100", "0.470"}));

        // Not a single whole second: no figures, and an axis of one second.
        CBitrateDlg tooShort(qPath(writeSizedAvi(dir, std::vector<std::uint32_t>(10, 1280), 25)));
        showAndRun(tooShort);
        QCOMPARE(tooShort.chart().layers().timeRange(), 1u);
        QCOMPARE(figures(tooShort), QStringList({"", "", "", ""}));
    }

    void startAfterStopReadsTheFrameInProgressAgainAndTheChartGoesOn()
    {
        TempDir dir;
        // Seconds of 250 kbps, but frame 74, the last of the third second, adds 25 kbps.
        std::vector<std::uint32_t> sizes(250, 1280);
        sizes[74] += 25 * 128;
        StoppedDialog dialog(qPath(writeSizedAvi(dir, sizes, 25)), 75);
        showAndRun(dialog);
        QCOMPARE(dialog.source().currentFrame(), 74);
        QCOMPARE(chartValues(dialog), QList<double>({250, 250, 275}));
        QCOMPARE(figures(dialog), QStringList({"258", "275", "250", "0.056"}));
        QVERIFY(button(dialog, "startButton")->isEnabled());

        // The new run starts with frame 74 and has seven whole seconds left.
        button(dialog, "startButton")->click();
        QCOMPARE(chartValues(dialog),
                 QList<double>({250, 250, 275, 275, 250, 250, 250, 250, 250, 250}));
        QCOMPARE(figures(dialog), QStringList({"254", "275", "250", "0.037"}));
        QVERIFY(!button(dialog, "startButton")->isEnabled());
    }

    void aVariableRateVideosSecondsHoldTheFramesShownInThem()
    {
        TempDir dir;
        // 25 frames of 36 units of 128 bytes a second, then 12.5 frames: 13 and 12 by turns.
        const std::string path = makeVariableRateVideo(dir.file("variable.mkv"));
        QVERIFY(!path.empty());
        CBitrateDlg dialog(qPath(path));
        showAndRun(dialog);
        QCOMPARE(chartValues(dialog), QList<double>({900, 900, 468, 432, 468, 432, 468, 432}));
        QCOMPARE(dialog.chart().layers().timeRange(), 8u);
    }

    void theMinimumIsTheSmallestSecondEvenAbove4095()
    {
        TempDir dir;
        CBitrateDlg dialog(qPath(writeSizedAvi(dir, {6000 * 128, 4095 * 128, 5000 * 128}, 1)));
        showAndRun(dialog);
        QCOMPARE(figures(dialog), QStringList({"5032", "6000", "4095", "0.189"}));
    }

    void underOneFrameASecondEveryFrameIsASecond()
    {
        TempDir dir;
        CBitrateDlg dialog(qPath(writeSizedAvi(dir, {1280, 2560, 1280}, 1, 3)));
        showAndRun(dialog);
        QCOMPARE(chartValues(dialog), QList<double>({10, 20, 10}));
        QCOMPARE(dialog.chart().layers().timeRange(), 3u);
    }

    void saveWritesTheDialogsPictureOrSaysWhyNot()
    {
        TempDir dir;
        CBitrateDlg dialog(qPath(writeSizedAvi(dir, std::vector<std::uint32_t>(50, 5000), 25)));
        showAndRun(dialog);
        MessageRecorder messages;
        const std::string missing = dir.file("missing/bitrate.png");
        dialog.SavePicture(qPath(missing));
        QCOMPARE(messages.texts(), QStringList("Sorry, can't write the file " + qPath(missing) +
                                               ". No such file or directory."));
        QVERIFY(!std::filesystem::exists(dir.file("missing")));
        if (const std::optional<std::string> locked = FolderNobodyMayWrite()) {
            dialog.SavePicture(qPath(*locked + "/bitrate.png"));
            QVERIFY2(messages.texts().last().startsWith("Sorry, can't write the file " +
                                                        qPath(*locked) + "/bitrate.png. "),
                     qPrintable(messages.texts().last()));
        }

        const std::string saved = dir.file("bitrate.png");
        dialog.SavePicture(qPath(saved));
        QCOMPARE(messages.texts().last(), QStringLiteral("Image saved."));
        CDibImage image;
        QCOMPARE(LoadPng(saved, image), 1);
        QCOMPARE(QSize(image.Width(), image.Height()), dialog.size());
        // The chart's frame corner, where the dialog draws it.
        const CChartCtrl& chart = dialog.chart();
        const QPoint corner = chart.mapTo(&dialog, chart.contentsRect().topLeft()) +
                              QPoint(chart.layers().plotLeft(), chart.layers().plotTop());
        const std::uint8_t* pixel = image.PictureRow(corner.y()) + 3 * corner.x();
        QCOMPARE(QList<int>({pixel[2], pixel[1], pixel[0]}), QList<int>({0, 192, 192}));
    }

    void aFullDiskKeepsTheOldPictureAndSaysWhy()
    {
        TempDir dir;
        CBitrateDlg dialog(qPath(writeSizedAvi(dir, std::vector<std::uint32_t>(50, 5000), 25)));
        showAndRun(dialog);
        MessageRecorder messages;
        const std::string picture = dir.file("pictures/bitrate.png");
        std::filesystem::create_directory(dir.file("pictures"));
        dialog.SavePicture(qPath(picture));
        const std::vector<std::uint8_t> old = ReadBytes(picture);
        {
            const FileSizeLimit full(1000);
            dialog.SavePicture(qPath(picture));
        }
        QCOMPARE(messages.texts(),
                 (QStringList{"Image saved.", "Sorry, can't write the file " + qPath(picture) +
                                                  ". File too large."}));
        QVERIFY(ReadBytes(picture) == old);
        QCOMPARE(std::distance(std::filesystem::directory_iterator(dir.file("pictures")),
                               std::filesystem::directory_iterator()),
                 1);
        // The dialog goes on working once there is room again.
        dialog.SavePicture(qPath(picture));
        QCOMPARE(messages.texts().last(), QStringLiteral("Image saved."));
    }
};

int runBitrateDlgTests(int argc, char** argv)
{
    BitrateDlgTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "bitrate_dlg_test.moc"
