#include "ui/option_dlg.h"

#include "image/image_format.h"
#include "settings/settings.h"
#include "ui/caption_label.h"
#include "ui/engine_path.h"
#include "ui/error_message.h"
#include "ui/message_box.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// A stored value reaches a spin box the way it reached the original up-down controls: as its
// low 16 bits, then held to the box's range.
int lowWord(int value)
{
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(value) & 0xFFFF);
}

// Which frames a recording saves, as OPTION_FRAME_CHOICE stores them.
enum FrameChoiceId
{
    EveryStepId = 0,
    EverySecondsId = 1,
    KeyFramesId = 2,
    SceneChangesId = 3,
};

// Every few seconds: from a millisecond to an hour, to the millisecond that is stored.
constexpr double kMinSeconds = 0.001;
constexpr double kMaxSeconds = 3600;

QSpinBox* makeSpinBox(QWidget* parent, const char* name, int minimum, int maximum, int value)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(minimum, maximum);
    box->setValue(lowWord(value));
    box->setAlignment(Qt::AlignRight);
    return box;
}

} // namespace

COptionDlg::COptionDlg(CSettings& settings, QWidget* parent) : QDialog(parent), m_settings(settings)
{
    setObjectName(QStringLiteral("optionDialog"));
    setWindowTitle(tr("Option"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildRecordGroup());
    layout->addWidget(buildFilesGroup());
    layout->addWidget(buildPictureGroup());
    layout->addWidget(buildPlayGroup());
    layout->addLayout(buildViewerRow());
    layout->addLayout(buildButtonRow());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setViewerPath(displayPath(m_settings.viewerPath()));
}

QWidget* COptionDlg::buildRecordGroup()
{
    auto* group = new QGroupBox(tr("Record Option"), this);
    auto* grid = new QGridLayout(group);
    // Created in the order of the form, which Tab follows: the choice of frames with the step,
    // the format, the quality.
    addFrameChoice(group, grid);
    m_format = new QComboBox(group);
    m_format->setObjectName(QStringLiteral("format"));
    // The list's index is the stored format number.
    for (const ImageFormat format : recordedFormats())
        m_format->addItem(QLatin1String(imageFormatInfo(format).name));
    // A format number the list does not hold shows no selection, and OK then stores -1.
    const int format = m_settings.GetOption(OPTION_JPEG);
    m_format->setCurrentIndex(format >= 0 && format < m_format->count() ? format : -1);
    m_quality =
        makeSpinBox(group, "jpegQuality", 1, 100, m_settings.GetOption(OPTION_JPEG_QUALITY));
    m_provenance =
        makeCheckBox(group, "provenance",
                     tr("Name the video, frame and time in JPEG and PNG files"), OPTION_PROVENANCE);

    grid->addWidget(new QLabel(tr("Save as"), group), 4, 0);
    grid->addWidget(m_format, 4, 1);
    grid->addWidget(new QLabel(tr("Jpeg quality:"), group), 4, 2);
    grid->addWidget(m_quality, 4, 3);
    grid->addWidget(new QLabel(QStringLiteral("%"), group), 4, 4);
    grid->addWidget(m_provenance, 5, 0, 1, 5);
    return group;
}

// Which frames a recording saves, in rows 0 to 3 of the group's grid, each choice beside its
// field: every N frames (the step), every S seconds, key frames, scene changes (the threshold).
void COptionDlg::addFrameChoice(QWidget* group, QGridLayout* grid)
{
    m_frameChoice = new QButtonGroup(group);
    const auto addChoice = [&](FrameChoiceId id, const char* name, const QString& text) {
        auto* button = new QRadioButton(text, group);
        button->setObjectName(QLatin1String(name));
        m_frameChoice->addButton(button, id);
        grid->addWidget(button, id, 0, 1, id == KeyFramesId ? 5 : 1);
    };
    addChoice(EveryStepId, "everyFrameChoice", tr("Record every"));
    m_everyFrame =
        makeSpinBox(group, "everyFrame", 0, 500, m_settings.GetOption(OPTION_EVERY_FRAME));
    grid->addWidget(m_everyFrame, EveryStepId, 1);
    grid->addWidget(new QLabel(tr("frames"), group), EveryStepId, 2, 1, 3);

    addChoice(EverySecondsId, "everySecondsChoice", tr("Record every"));
    m_everySeconds = new QDoubleSpinBox(group);
    m_everySeconds->setObjectName(QStringLiteral("everySeconds"));
    m_everySeconds->setDecimals(3);
    m_everySeconds->setRange(kMinSeconds, kMaxSeconds);
    m_everySeconds->setValue(m_settings.GetOption(OPTION_EVERY_MILLISECONDS) / 1000.0);
    m_everySeconds->setAlignment(Qt::AlignRight);
    grid->addWidget(m_everySeconds, EverySecondsId, 1);
    grid->addWidget(new QLabel(tr("seconds"), group), EverySecondsId, 2, 1, 3);

    addChoice(KeyFramesId, "keyFramesChoice", tr("Record key frames only"));
    addChoice(SceneChangesId, "sceneChangesChoice", tr("Record scene changes, threshold"));
    m_sceneThreshold =
        makeSpinBox(group, "sceneThreshold", 1, 255,
                    std::clamp(m_settings.GetOption(OPTION_SCENE_THRESHOLD), 1, 255));
    grid->addWidget(m_sceneThreshold, SceneChangesId, 1);

    // A choice the list does not hold records every N-th frame, and so shows that.
    QAbstractButton* chosen = m_frameChoice->button(m_settings.GetOption(OPTION_FRAME_CHOICE));
    (chosen ? chosen : m_frameChoice->button(EveryStepId))->setChecked(true);
    enableFrameChoiceFields();
    connect(m_frameChoice, &QButtonGroup::idToggled, this, &COptionDlg::enableFrameChoiceFields);
}

// Only the chosen way's field can be edited.
void COptionDlg::enableFrameChoiceFields()
{
    const int choice = m_frameChoice->checkedId();
    m_everyFrame->setEnabled(choice == EveryStepId);
    m_everySeconds->setEnabled(choice == EverySecondsId);
    m_sceneThreshold->setEnabled(choice == SceneChangesId);
}

void COptionDlg::storeFrameChoice()
{
    m_settings.SetOption(OPTION_FRAME_CHOICE, m_frameChoice->checkedId());
    m_settings.SetOption(OPTION_EVERY_MILLISECONDS,
                         static_cast<int>(std::lround(m_everySeconds->value() * 1000)));
    m_settings.SetOption(OPTION_SCENE_THRESHOLD, m_sceneThreshold->value());
}

// The recorded files' names, with what the pattern may hold beneath, and the manifest.
QWidget* COptionDlg::buildFilesGroup()
{
    auto* group = new QGroupBox(tr("Recorded Files"), this);
    m_fileNames = new QLineEdit(QString::fromStdString(m_settings.fileNames().text()), group);
    m_fileNames->setObjectName(QStringLiteral("fileNames"));
    auto* hint = new QLabel(tr("{frame} frame number, {count} 1, 2, 3..., {name} video name, "
                               "{time} 00-01-23.456"),
                            group);
    hint->setEnabled(false);
    m_manifest =
        makeCheckBox(group, "manifest", tr("List the files in frames.csv"), OPTION_MANIFEST);

    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(tr("File names:"), group), 0, 0);
    grid->addWidget(m_fileNames, 0, 1);
    grid->addWidget(hint, 1, 1);
    grid->addWidget(m_manifest, 2, 0, 1, 2);
    return group;
}

// False, with the reason shown, for a pattern that can't name a recording's files.
bool COptionDlg::storeFileNames()
{
    Result<FileNamePattern> names = FileNamePattern::Parse(m_fileNames->text().toStdString());
    if (!names) {
        ShowMessage(this, ErrorMessage(names.error()));
        m_fileNames->setFocus();
        m_fileNames->selectAll();
        return false;
    }
    m_settings.setFileNames(std::move(*names));
    return true;
}

QCheckBox* COptionDlg::makeCheckBox(QWidget* parent, const char* name, const QString& text,
                                    int option)
{
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(m_settings.GetOption(option) != 0);
    return box;
}

QWidget* COptionDlg::buildPictureGroup()
{
    auto* group = new QGroupBox(tr("Picture Option"), this);
    m_matrix = new QComboBox(group);
    m_matrix->setObjectName(QStringLiteral("colorMatrix"));
    // The list's index is the stored matrix number.
    m_matrix->addItems({tr("As the file says"), tr("BT.601"), tr("BT.709")});
    const int matrix = m_settings.GetOption(OPTION_COLOR_MATRIX);
    m_matrix->setCurrentIndex(matrix >= 0 && matrix < m_matrix->count() ? matrix : 0);
    m_toneMap = makeCheckBox(group, "toneMap", tr("Tone-map HDR video"), OPTION_TONE_MAP);
    m_deinterlace =
        makeCheckBox(group, "deinterlace", tr("Deinterlace interlaced video"), OPTION_DEINTERLACE);
    m_keepRotation = makeCheckBox(group, "keepRotation", tr("Keep the stored orientation"),
                                  OPTION_KEEP_ROTATION);
    m_displayAspect = makeCheckBox(group, "displayAspect", tr("Save at the display aspect"),
                                   OPTION_DISPLAY_ASPECT);

    auto* grid = new QGridLayout(group);
    grid->addWidget(new QLabel(tr("Colour matrix"), group), 0, 0);
    grid->addWidget(m_matrix, 0, 1);
    grid->addWidget(m_toneMap, 1, 0, 1, 2);
    grid->addWidget(m_deinterlace, 2, 0, 1, 2);
    grid->addWidget(m_keepRotation, 3, 0, 1, 2);
    grid->addWidget(m_displayAspect, 4, 0, 1, 2);
    return group;
}

QWidget* COptionDlg::buildPlayGroup()
{
    auto* group = new QGroupBox(tr("Play Option"), this);
    m_delay = makeSpinBox(group, "delay", 0, 10, m_settings.GetOption(OPTION_SPEED));
    auto* row = new QHBoxLayout(group);
    row->addWidget(new QLabel(tr("Delay"), group));
    row->addWidget(m_delay);
    row->addWidget(new QLabel(tr("milliseconds per frame"), group));
    row->addStretch();
    group->setEnabled(false);
    return group;
}

QLayout* COptionDlg::buildViewerRow()
{
    m_viewerLabel = new CCaptionLabel(this);
    m_viewerLabel->setObjectName(QStringLiteral("viewerPath"));
    m_viewerLabel->setEllipsis(CaptionEllipsis::Path);
    auto* choose = new QPushButton(tr("..."), this);
    choose->setObjectName(QStringLiteral("chooseViewerButton"));
    choose->setAutoDefault(false);
    choose->setFixedWidth(choose->fontMetrics().horizontalAdvance(choose->text()) + 16);
    connect(choose, &QPushButton::clicked, this, &COptionDlg::chooseViewer);

    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(tr("Viewer:"), this));
    row->addWidget(m_viewerLabel, 1);
    row->addWidget(choose);
    return row;
}

QLayout* COptionDlg::buildButtonRow()
{
    auto* cancel = new QPushButton(tr("Cancel"), this);
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &COptionDlg::accept);

    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(cancel);
    row->addWidget(ok);
    row->addStretch();
    return row;
}

void COptionDlg::setViewerPath(const QString& path)
{
    m_viewerPath = path;
    m_viewerLabel->setText(path);
}

void COptionDlg::chooseViewer()
{
    // Programs on Linux carry no extension of their own to filter by.
    const QString path =
        QFileDialog::getOpenFileName(this, QString(), QString(), tr("All Files (*)"));
    if (!path.isEmpty())
        setViewerPath(path);
}

void COptionDlg::accept()
{
    // Nothing is stored while the names are refused: the dialog stays for them to be mended.
    if (!storeFileNames())
        return;
    m_settings.SetOption(OPTION_JPEG, m_format->currentIndex());
    m_settings.SetOption(OPTION_EVERY_FRAME, m_everyFrame->value());
    m_settings.SetOption(OPTION_JPEG_QUALITY, m_quality->value());
    m_settings.SetOption(OPTION_SPEED, m_delay->value());
    m_settings.SetOption(OPTION_COLOR_MATRIX, m_matrix->currentIndex());
    m_settings.SetOption(OPTION_TONE_MAP, m_toneMap->isChecked() ? 1 : 0);
    m_settings.SetOption(OPTION_DEINTERLACE, m_deinterlace->isChecked() ? 1 : 0);
    m_settings.SetOption(OPTION_KEEP_ROTATION, m_keepRotation->isChecked() ? 1 : 0);
    m_settings.SetOption(OPTION_DISPLAY_ASPECT, m_displayAspect->isChecked() ? 1 : 0);
    storeFrameChoice();
    m_settings.SetOption(OPTION_PROVENANCE, m_provenance->isChecked() ? 1 : 0);
    m_settings.SetOption(OPTION_MANIFEST, m_manifest->isChecked() ? 1 : 0);
    m_settings.setViewerPath(enginePath(m_viewerPath));
    // Both are tried; the options hold for this run even when the file refuses them.
    const bool optionsSaved = m_settings.SaveOptions();
    const bool viewerSaved = m_settings.saveViewerPath();
    if (!optionsSaved || !viewerSaved) {
        ShowMessage(this, tr("Sorry, the options could not be saved: %1.\nThey apply until the "
                             "program ends.")
                              .arg(SettingsWriteMessage(m_settings.iniFile())));
    }
    QDialog::accept();
}
