#include "ui/batch_dialog.h"

#include "settings/settings.h"
#include "ui/caption_label.h"
#include "ui/engine_path.h"
#include "ui/error_message.h"
#include "ui/message_box.h"
#include "ui/message_pump.h"
#include "ui/select_folder_dialog.h"
#include "ui/view_first_image.h"
#include "ui/wait_cursor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

QString BatchFolderFilter(ImageFormat format)
{
    constexpr std::pair<ImageFormat, const char*> kDescriptions[] = {
        {ImageFormat::Jpeg, QT_TRANSLATE_NOOP("CBatchDialog", "Jpeg Files")},
        {ImageFormat::Bmp, QT_TRANSLATE_NOOP("CBatchDialog", "Bmp Files")},
        {ImageFormat::Png, QT_TRANSLATE_NOOP("CBatchDialog", "Png Files")},
    };
    const auto* entry = std::find_if(std::begin(kDescriptions), std::end(kDescriptions),
                                     [format](const auto& item) { return item.first == format; });
    const QString pattern = QLatin1String(imageFormatInfo(format).pattern);
    return QStringLiteral("%1(%2)|%2|%3(*.*)|*.*||")
        .arg(QCoreApplication::translate("CBatchDialog", entry->second), pattern,
             QCoreApplication::translate("CBatchDialog", "All Files"));
}

CBatchDialog::CBatchDialog(CSettings& settings, TrashCan& trash, QWidget* parent)
    : QDialog(parent), m_settings(settings), m_trash(trash)
{
    m_beginButton = new QPushButton(tr("Begin"), this);
    m_beginButton->setObjectName(QStringLiteral("beginButton"));
    m_beginButton->setDefault(true);
    connect(m_beginButton, &QPushButton::clicked, this, &CBatchDialog::onBegin);
}

QWidget* CBatchDialog::addControl(QWidget* control)
{
    m_controls.append(control);
    return control;
}

QPushButton* CBatchDialog::makeButton(const QString& text, const char* name,
                                      void (CBatchDialog::*slot)())
{
    auto* button = new QPushButton(text, this);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, slot);
    addControl(button);
    return button;
}

CCaptionLabel* CBatchDialog::makePathLabel(const char* name)
{
    auto* label = new CCaptionLabel(this);
    label->setObjectName(QLatin1String(name));
    label->setEllipsis(CaptionEllipsis::Path);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return label;
}

QGroupBox* CBatchDialog::buildSourceGroup()
{
    auto* group = new QGroupBox(tr("Source"), this);
    m_sourceLabel = makePathLabel("sourceFolder");
    m_sourceType = new QComboBox(this);
    m_sourceType->setObjectName(QStringLiteral("sourceType"));
    for (const ImageFormatInfo& format : imageFormats())
        m_sourceType->addItem(QLatin1String(format.pattern));
    m_deleteSources = new QCheckBox(tr("Delete source files when finish"), this);
    m_deleteSources->setObjectName(QStringLiteral("deleteSources"));

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel(tr("Source folder:"), this));
    folderRow->addWidget(
        makeButton(tr("Browse"), "browseSourceButton", &CBatchDialog::browseSource));
    folderRow->addWidget(makeButton(tr("View"), "viewSourceButton", &CBatchDialog::viewSource));
    folderRow->addStretch();
    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(new QLabel(tr("Source files:"), this));
    typeRow->addWidget(addControl(m_sourceType));
    typeRow->addStretch();
    typeRow->addWidget(addControl(m_deleteSources));

    auto* column = new QVBoxLayout(group);
    column->addLayout(folderRow);
    column->addWidget(m_sourceLabel);
    column->addLayout(typeRow);
    return group;
}

QHBoxLayout* CBatchDialog::buildTargetRow(const QString& label)
{
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label, this));
    row->addWidget(makeButton(tr("Browse"), "browseTargetButton", &CBatchDialog::browseTarget));
    row->addWidget(makeButton(tr("View"), "viewTargetButton", &CBatchDialog::viewTarget));
    row->addStretch();
    return row;
}

QHBoxLayout* CBatchDialog::buildQualityRow(const QString& label)
{
    m_qualityLabel = new QLabel(label, this);
    m_quality = new QSpinBox(this);
    m_quality->setObjectName(QStringLiteral("jpegQuality"));
    m_quality->setRange(1, 100);
    m_quality->setAlignment(Qt::AlignRight);
    m_qualityLabel->setBuddy(m_quality);
    auto* row = new QHBoxLayout;
    row->addWidget(m_qualityLabel);
    row->addWidget(m_quality);
    return row;
}

QLayout* CBatchDialog::buildBottomRows()
{
    m_processingLabel = makePathLabel("processing");
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setTextVisible(false);
    m_progress->setValue(0);
    // Kept from the original form, hidden: they write and read the settings section at once.
    QPushButton* save = makeButton(tr("Save"), "saveButton", &CBatchDialog::save);
    QPushButton* load = makeButton(tr("Load"), "loadButton", &CBatchDialog::load);
    save->hide();
    load->hide();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(new QLabel(tr("Processing:"), this));
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(load);
    buttons->addWidget(makeButton(tr("Reset"), "resetButton", &CBatchDialog::reset));
    buttons->addWidget(m_beginButton);
    auto* column = new QVBoxLayout;
    column->addLayout(buttons);
    column->addWidget(m_processingLabel);
    column->addWidget(m_progress);
    return column;
}

void CBatchDialog::initialise()
{
    load();
    UpdateQualityControls();
}

QString CBatchDialog::sourceFolder() const
{
    return m_sourceLabel->text();
}

ImageFormat CBatchDialog::sourceFormat() const
{
    return BatchFormat(m_sourceType->currentIndex());
}

SourceFiles CBatchDialog::sourceFiles() const
{
    return m_deleteSources->isChecked() ? SourceFiles::MoveToTrash : SourceFiles::Keep;
}

QString CBatchDialog::viewerPath() const
{
    return displayPath(m_settings.viewerPath());
}

void CBatchDialog::onBegin()
{
    // The same button stops a run; the run notices before its next file.
    if (m_job != nullptr) {
        m_job->requestStop();
        return;
    }
    if (sourceFolder().isEmpty()) {
        ShowMessage(this, tr("Please select the source folder."));
        return;
    }
    startRun();
}

bool CBatchDialog::started(BatchStart start, const CBatchJob& job)
{
    switch (start) {
    case BatchStart::Ready:
        return true;
    case BatchStart::NoTarget:
        ShowMessage(this, noTargetText());
        return false;
    case BatchStart::NoFiles:
        ShowMessage(this, tr("Sorry, can't find any valid file in the source folder."));
        return false;
    case BatchStart::TargetFolderFailed:
        ShowMessage(this, tr("Sorry, can't create target folder. Please check it. (%1)")
                              .arg(displayPath(job.startError())));
        return false;
    case BatchStart::TargetIsSource:
        ShowMessage(this, tr("Sorry, %1 is one of the source files, and writing the result there "
                             "would lose it. Please choose another target, or let the sources go "
                             "to the trash with \"Delete source files when finish\".")
                              .arg(displayPath(job.startError())));
        return false;
    }
    return false;
}

void CBatchDialog::runJob(CBatchJob& job, const std::function<BatchResult()>& finish)
{
    BatchResult result;
    {
        WaitCursor wait;
        m_progress->setRange(0, job.fileCount());
        m_progress->setValue(0);
        m_job = &job;
        EnableControls(false);
        job.run();
        result = finish();
        m_job = nullptr;
    }
    tellResult(result);
    EnableControls(true);
    if (m_closeRequested)
        closeAfterRun();
}

void CBatchDialog::tellResult(const BatchResult& result)
{
    switch (result.outcome) {
    case BatchOutcome::Failed:
        // The file in hand may be far past the one that failed, whose result came back later.
        if (!result.failedSource.empty())
            m_processingLabel->setText(displayPath(result.failedSource));
        m_progress->setValue(0);
        ShowMessage(this, ErrorMessage(*result.error));
        break;
    case BatchOutcome::NothingRead:
        ShowMessage(this, tr("Average failed."));
        break;
    default:
        // Whoever closed the dialog during the run needs no word that it ended.
        if (!m_closeRequested)
            ShowMessage(this, finishedText());
        break;
    }
    // A source that vanished or changed before its turn, or was never an image, is told too.
    if (result.skipped > 0) {
        ShowMessage(this, tr("%n source file(s) could not be read and stay where they were.",
                             nullptr, result.skipped));
    }
    if (result.passedOver > 0) {
        ShowMessage(this, tr("%n source file(s) were left alone without a result and stay where "
                             "they were: %1.",
                             nullptr, result.passedOver)
                              .arg(ErrorReason(*result.passOverReason)));
    }
    if (result.keptSources > 0) {
        ShowMessage(this, tr("%n source file(s) could not be moved to the trash and stay where "
                             "they were: %1.",
                             nullptr, result.keptSources)
                              .arg(ErrorReason(*result.trashError)));
    }
}

void CBatchDialog::onFile(int position, const std::string& path)
{
    m_processingLabel->setText(displayPath(path));
    m_progress->setValue(std::min(position, m_progress->maximum()));
    PumpMessages();
}

void CBatchDialog::onWait()
{
    PumpMessages();
}

void CBatchDialog::onResizedCopy(int width, int height)
{
    m_processingLabel->setText(tr("Scale to %1x%2...").arg(width).arg(height));
    PumpMessages();
}

void CBatchDialog::EnableControls(bool enable)
{
    // Group boxes stay enabled, as the quality controls inside one may have to.
    for (QWidget* control : std::as_const(m_controls))
        control->setEnabled(enable);
    m_beginButton->setText(enable ? tr("Begin") : tr("Stop"));
    UpdateQualityControls();
}

void CBatchDialog::UpdateQualityControls()
{
    const bool jpeg = targetIsJpeg();
    m_qualityLabel->setEnabled(jpeg);
    m_quality->setEnabled(jpeg);
}

void CBatchDialog::browseSource()
{
    CSelectFolderDialog dialog(FolderDialogFiles::Show, sourceFolder(),
                               BatchFolderFilter(sourceFormat()), this);
    if (dialog.DoModal() == QDialog::Accepted)
        m_sourceLabel->setText(dialog.GetSelectedPath());
}

void CBatchDialog::viewSource()
{
    if (sourceFolder().isEmpty())
        ShowMessage(this, tr("Please select the source folder."));
    else
        ViewFirstImage(this, sourceFolder(), viewerPath());
}

void CBatchDialog::reset()
{
    showDefaults();
}

void CBatchDialog::load()
{
    showStored();
}

void CBatchDialog::save()
{
    saveOrTell();
}

bool CBatchDialog::saveOrTell()
{
    if (saveSection())
        return true;
    ShowMessage(this, tr("Sorry, the settings of this tool could not be saved: %1.")
                          .arg(SettingsWriteMessage(m_settings.iniFile())));
    return false;
}

void CBatchDialog::reject()
{
    if (m_job != nullptr) {
        m_closeRequested = true;
        m_job->requestStop();
        return;
    }
    saveOrTell();
    QDialog::reject();
}

void CBatchDialog::closeAfterRun()
{
    m_closeRequested = false;
    reject();
}
