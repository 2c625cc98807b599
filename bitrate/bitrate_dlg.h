#pragma once

#include "bitrate/bitrate_series.h"
#include "source/frame_source.h"
#include "source/frame_source_owner.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QString>

#include <string>

class CCaptionLabel;
class CChartCtrl;
class CFrameChartCtrl;
class QComboBox;
class QLabel;
class QPushButton;
class QStackedWidget;

// The bitrate of a video's stream second by second: the dialog reads the stored size of every
// frame through a frame source of its own (the player's position is never touched), charts each
// second in kilobits per second and shows the overall figure, the run's average, maximum and
// minimum and, once a run ends, its coefficient of variation. The analysis starts as soon as the
// dialog is shown; Start stops a run and resumes a stopped one, and a finished analysis can't be
// started again. Save writes the dialog's picture as a PNG file.
//
// The chart shows the seconds, or, chosen beside the buttons, every frame's stored bytes by
// picture type. The frames' types need the packets themselves, so the file is read through once
// more the first time they are shown, with a progress window that can stop it. The dialog may be
// resized, and the chart follows.
//
// A run handles the queued events every few milliseconds, so Stop, Save and Close are entered
// from inside it; Stop and Close ask it to end after the next of those drains.
class CBitrateDlg : public QDialog, public FrameSourceOwner
{
    Q_OBJECT

public:
    explicit CBitrateDlg(const QString& aviPath, QWidget* parent = nullptr);
    // The video by the bytes of its name, which need not be UTF-8.
    explicit CBitrateDlg(const std::string& aviPath, QWidget* parent = nullptr);
    ~CBitrateDlg() override;

    // Start and Stop (the first button and Enter).
    void OnOK();
    // Asks for a file name, then SavePicture.
    void OnSave();
    // Close (the button, Escape and the close box): a running analysis stops first.
    void OnCancel();
    // Writes the dialog as it draws itself to path as PNG and tells the user how that went.
    void SavePicture(const QString& path);

    enum class View
    {
        Seconds,
        Frames,
    };
    // Shows the chart of the seconds or of the frames; the frames are read the first time they
    // are shown, and when that read is stopped or fails the seconds stay.
    void showView(View view);
    View view() const;

    CFrameSource& source() { return m_source; }
    const CChartCtrl& chart() const { return *m_chart; }
    const CFrameChartCtrl& frameChart() const { return *m_frameChart; }

    void setFrameText(FrameTextControl, const std::string&) override {}
    void setSliderPosition(int) override {}
    // One frame's stored size: counted into the second in progress, which, once complete, is
    // shown and charted.
    void receiveSampleSize(std::uint32_t bytes) override;
    void addValues(const std::vector<std::uint64_t>& values);

public slots:
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildForm();
    QLayout* buildStatistics();
    QLabel* addField(const char* name);
    QPushButton* addButton(const QString& text, const char* name, void (CBitrateDlg::*slot)());
    void openVideo(const std::string& aviPath);
    void startAnalysis();
    void drainEvents();
    void showStatistics();
    bool readFrames();

    CFrameSource m_source;
    BitrateSeries m_series;
    bool m_opened = false;
    bool m_shown = false;
    QString m_openError;
    QElapsedTimer m_sinceDrain;
    bool m_framesRead = false;
    bool m_readingFrames = false;
    bool m_closing = false;

    // Children of the dialog.
    CCaptionLabel* m_pathLabel = nullptr;
    QPushButton* m_startButton = nullptr;
    QLabel* m_total = nullptr;
    QLabel* m_average = nullptr;
    QLabel* m_maximum = nullptr;
    QLabel* m_minimum = nullptr;
    QLabel* m_variation = nullptr;
    QComboBox* m_viewChoice = nullptr;
    QStackedWidget* m_views = nullptr;
    CChartCtrl* m_chart = nullptr;
    CFrameChartCtrl* m_frameChart = nullptr;
};
