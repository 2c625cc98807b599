#include "bitrate/bitrate_dlg.h"

#include "bitrate/chart_ctrl.h"
#include "bitrate/chart_picture.h"
#include "bitrate/frame_chart_ctrl.h"
#include "ui/caption_label.h"
#include "ui/engine_path.h"
#include "ui/error_message.h"
#include "ui/message_box.h"
#include "ui/message_pump.h"
#include "ui/wait_cursor.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

// How long a run goes on between two drains of the event queue: short enough for Stop, Save and
// Close to answer at once, long enough that a fast scan is not spent handling events.
constexpr qint64 kDrainIntervalMs = 10;

// Between a figure and its name, and between one figure and the next name.
constexpr int kFieldSpacing = 4;

// Wide enough for the figures of a video of a gigabit a second.
const QString kWidestFigure = QStringLiteral("000000");

QString figure(std::optional<std::uint64_t> value)
{
    return value ? QString::number(*value) : QString();
}

} // namespace

CBitrateDlg::CBitrateDlg(const QString& aviPath, QWidget* parent)
    : CBitrateDlg(enginePath(aviPath), parent)
{}

CBitrateDlg::CBitrateDlg(const std::string& aviPath, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("bitrateDialog"));
    setWindowTitle(tr("Bitrate"));
    buildForm();
    m_pathLabel->setText(displayPath(aviPath));
    m_source.setMessagePump([this] { drainEvents(); });
    openVideo(aviPath);
}

CBitrateDlg::~CBitrateDlg() = default;

void CBitrateDlg::buildForm()
{
    m_pathLabel = new CCaptionLabel(this);
    m_pathLabel->setObjectName(QStringLiteral("aviPath"));
    m_pathLabel->setEllipsis(CaptionEllipsis::Path);
    m_startButton = addButton(tr("Start"), "startButton", &CBitrateDlg::OnOK);
    m_startButton->setDefault(true);
    m_views = new QStackedWidget(this);
    m_chart = new CChartCtrl(m_views);
    m_chart->setObjectName(QStringLiteral("chart"));
    m_frameChart = new CFrameChartCtrl(m_views);
    m_frameChart->setObjectName(QStringLiteral("frameChart"));
    m_views->addWidget(m_chart);
    m_views->addWidget(m_frameChart);

    m_viewChoice = new QComboBox(this);
    m_viewChoice->setObjectName(QStringLiteral("viewChoice"));
    m_viewChoice->addItem(tr("Seconds"));
    m_viewChoice->addItem(tr("Frames"));
    m_viewChoice->setToolTip(tr("Chart the bitrate of every second, or the size of every frame"));
    connect(m_viewChoice, &QComboBox::activated, this,
            [this](int index) { showView(index == 1 ? View::Frames : View::Seconds); });

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_startButton);
    buttons->addWidget(addButton(tr("Save"), "saveButton", &CBitrateDlg::OnSave));
    buttons->addWidget(addButton(tr("Close"), "closeButton", &CBitrateDlg::OnCancel));
    buttons->addWidget(m_viewChoice);
    buttons->addStretch();

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_pathLabel, 0, 0);
    grid->addLayout(buildStatistics(), 1, 0);
    grid->addLayout(buttons, 0, 1, 2, 1);
    grid->addWidget(m_views, 2, 0, 1, 2);
    grid->setRowStretch(2, 1);
}

QLayout* CBitrateDlg::buildStatistics()
{
    auto* file = new QGroupBox(tr("Bitrate (kbps)"), this);
    auto* fileRow = new QHBoxLayout(file);
    fileRow->setSpacing(kFieldSpacing);
    fileRow->addWidget(new QLabel(tr("Total"), file));
    fileRow->addWidget(m_total = addField("total"));

    auto* video = new QGroupBox(tr("Video bitrate(kbps)"), this);
    auto* videoRow = new QHBoxLayout(video);
    videoRow->setSpacing(kFieldSpacing);
    videoRow->addWidget(new QLabel(tr("Average"), video));
    videoRow->addWidget(m_average = addField("average"));
    videoRow->addWidget(new QLabel(tr("Max"), video));
    videoRow->addWidget(m_maximum = addField("maximum"));
    videoRow->addWidget(new QLabel(tr("Min"), video));
    videoRow->addWidget(m_minimum = addField("minimum"));
    videoRow->addWidget(new QLabel(tr("Coefficient of\nvariation"), video));
    videoRow->addWidget(m_variation = addField("variation"));

    auto* row = new QHBoxLayout;
    row->addWidget(file);
    row->addWidget(video, 1);
    return row;
}

QLabel* CBitrateDlg::addField(const char* name)
{
    auto* field = new QLabel(this);
    field->setObjectName(QLatin1String(name));
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setFixedWidth(field->fontMetrics().horizontalAdvance(kWidestFigure) +
                         2 * field->frameWidth() + 4);
    return field;
}

QPushButton* CBitrateDlg::addButton(const QString& text, const char* name,
                                    void (CBitrateDlg::*slot)())
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, slot);
    return button;
}

void CBitrateDlg::openVideo(const std::string& aviPath)
{
    std::int64_t bitrate = 0;
    m_opened = m_source.Open(aviPath, nullptr, this, bitrate, WantFrames::No);
    m_viewChoice->setEnabled(m_opened);
    if (!m_opened) {
        m_openError = m_source.openError() ? ErrorReason(*m_source.openError()) : QString();
        return;
    }
    m_series = SeriesOf(m_source.reader().facts());
    m_total->setText(QString::number(bitrate));
    m_startButton->setText(tr("Begin"));
    m_chart->SetTimeRange(TimeRangeOf(m_source.reader().facts()));
}

void CBitrateDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    // The analysis starts once the dialog is up.
    QMetaObject::invokeMethod(this, &CBitrateDlg::startAnalysis, Qt::QueuedConnection);
}

void CBitrateDlg::startAnalysis()
{
    if (m_opened)
        OnOK();
    else
        ShowMessage(this, tr("Sorry, can't open the AVI file.") + u'\n' + m_openError);
}

void CBitrateDlg::OnOK()
{
    if (m_source.state() == CFrameSource::StatePlaying) {
        m_source.RequestStop(CloseAfterStop::No);
        m_startButton->setText(tr("Start"));
        return;
    }
    // A finished run starts again from the beginning; a stopped one resumes at the frame in
    // progress, and its chart goes on.
    if (m_source.currentFrame() >= m_source.lastFrame()) {
        m_source.Seek(m_source.firstFrame());
        m_chart->Clear();
    }
    m_series.startRun();
    m_startButton->setText(tr("Stop"));
    m_sinceDrain.start();
    const bool finished = m_source.ScanSampleSizes();
    if (finished)
        addValues(m_series.finishRun(m_source.duration()));
    if (const std::optional<double> variation = m_series.coefficientOfVariation())
        m_variation->setText(QString::fromStdString(VariationText(*variation)));
    if (finished)
        m_startButton->setEnabled(false);
    m_startButton->setText(tr("Start"));
}

void CBitrateDlg::drainEvents()
{
    if (m_sinceDrain.elapsed() < kDrainIntervalMs)
        return;
    PumpMessages();
    m_sinceDrain.start();
}

void CBitrateDlg::receiveSampleSize(std::uint32_t bytes)
{
    addValues(m_series.addFrame(bytes, m_source.frameTime(m_source.currentFrame())));
}

void CBitrateDlg::addValues(const std::vector<std::uint64_t>& values)
{
    if (values.empty())
        return;
    showStatistics();
    for (std::uint64_t value : values)
        m_chart->AddValue(double(value));
}

void CBitrateDlg::showStatistics()
{
    m_average->setText(figure(m_series.average()));
    m_maximum->setText(figure(m_series.maximum()));
    m_minimum->setText(figure(m_series.minimum()));
}

void CBitrateDlg::OnSave()
{
    QFileDialog dialog(this, QString(), QString(), tr("Png Files(*.png)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    SavePicture(dialog.selectedFiles().first());
}

void CBitrateDlg::SavePicture(const QString& path)
{
    // The dialog draws itself into the picture, so nothing that lies over it on the screen, and
    // no screen at all, changes what is saved.
    std::optional<Outcome> saved;
    {
        WaitCursor waitCursor;
        saved = SavePicturePng(grab().toImage(), enginePath(path));
    }
    if (*saved)
        ShowMessage(this, tr("Image saved."));
    else
        ShowMessage(this, ErrorMessage(saved->error()));
}

void CBitrateDlg::showView(View view)
{
    if (view == View::Frames && !m_framesRead && !m_readingFrames && !readFrames())
        view = View::Seconds;
    m_views->setCurrentIndex(view == View::Frames ? 1 : 0);
    m_viewChoice->setCurrentIndex(m_views->currentIndex());
}

CBitrateDlg::View CBitrateDlg::view() const
{
    return m_views->currentIndex() == 1 ? View::Frames : View::Seconds;
}

bool CBitrateDlg::readFrames()
{
    if (!m_opened)
        return false;
    FrameSeriesReader reader(m_source.reader());
    if (const Outcome opened = reader.open(); !opened) {
        ShowMessage(this, ErrorMessage(opened.error()));
        return false;
    }
    m_readingFrames = true;
    m_closing = false;
    QProgressDialog progress(tr("Reading the frames' picture types..."), tr("Cancel"), 0, 1000,
                             this);
    progress.setObjectName(QStringLiteral("framesProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    // The read goes on between drains of the event queue, so that the progress window, Stop and
    // Close answer; a close or Cancel ends it.
    bool finished = false;
    while (!m_closing && !progress.wasCanceled()) {
        if (!reader.step()) {
            finished = true;
            break;
        }
        progress.setValue(reader.permille());
        PumpMessages();
    }
    m_readingFrames = false;
    if (!finished)
        return false;
    m_frameChart->setSeries(reader.takeSeries());
    m_framesRead = true;
    return true;
}

void CBitrateDlg::OnCancel()
{
    m_closing = true;
    const int state = m_source.state();
    if (state == CFrameSource::StatePlaying || state == CFrameSource::StateRecording)
        m_source.RequestStop(CloseAfterStop::No);
    done(QDialog::Rejected);
}

void CBitrateDlg::accept()
{
    // Enter is the first button's, and does nothing once a finished analysis has disabled it.
    if (m_startButton->isEnabled())
        OnOK();
}

void CBitrateDlg::reject()
{
    OnCancel();
}
