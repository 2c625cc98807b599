#include "ui/average_dialog.h"

#include "batch/average_job.h"
#include "settings/settings.h"
#include "ui/caption_label.h"
#include "ui/engine_path.h"
#include "ui/message_box.h"
#include "ui/message_pump.h"
#include "ui/view_first_image.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

ResizedCopy copyWanted(const QCheckBox* box)
{
    return box->isChecked() ? ResizedCopy::Yes : ResizedCopy::No;
}

int checked(const QCheckBox* box)
{
    return box->isChecked() ? 1 : 0;
}

} // namespace

CAverageDialog::CAverageDialog(CSettings& settings, TrashCan& trash, QWidget* parent)
    : CBatchDialog(settings, trash, parent)
{
    setObjectName(QStringLiteral("averageDialog"));
    setWindowTitle(tr("Average"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildSourceGroup());
    layout->addWidget(buildTargetGroup());
    layout->addLayout(buildBottomRows());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    initialise();
}

QCheckBox* CAverageDialog::makeCheckBox(const QString& text, const char* name)
{
    auto* box = new QCheckBox(text, this);
    box->setObjectName(QLatin1String(name));
    addControl(box);
    return box;
}

QGroupBox* CAverageDialog::buildTargetGroup()
{
    auto* group = new QGroupBox(tr("Target"), this);
    m_targetLabel = makePathLabel("targetFile");
    QHBoxLayout* fileRow = buildTargetRow(tr("Target file:"));
    m_autoNumber = makeCheckBox(tr("Auto number"), "autoNumber");
    fileRow->addWidget(m_autoNumber);
    QHBoxLayout* optionRow = buildQualityRow(tr("JPEG quality:"));
    optionRow->addStretch();
    m_resize800 = makeCheckBox(tr("800*600"), "resize800");
    m_resize1024 = makeCheckBox(tr("1024*768"), "resize1024");
    optionRow->addWidget(m_resize800);
    optionRow->addWidget(m_resize1024);

    auto* column = new QVBoxLayout(group);
    column->addLayout(fileRow);
    column->addWidget(m_targetLabel);
    column->addLayout(optionRow);
    return group;
}

QString CAverageDialog::targetFile() const
{
    return m_targetLabel->text();
}

void CAverageDialog::startRun()
{
    if (targetFile().isEmpty()) {
        ShowMessage(this, noTargetText());
        return;
    }
    for (const QString& path : {sourceFolder(), targetFile()}) {
        if (!isPassablePath(path)) {
            tellUnpassablePath(this, path);
            return;
        }
    }
    const AverageJobSettings job{enginePath(sourceFolder()),
                                 sourceFormat(),
                                 enginePath(targetFile()),
                                 copyWanted(m_resize800),
                                 copyWanted(m_resize1024),
                                 m_autoNumber->isChecked() ? AutoNumber::Yes : AutoNumber::No,
                                 sourceFiles()};
    CAverageJob average(m_trash, *this);
    if (!started(average.start(job), average))
        return;
    m_targetLabel->setText(displayPath(average.targetFile()));
    // The quality may still change during the run: it is read when the result is written.
    runJob(average, [this, &average] { return average.finish(m_quality->value()); });
}

bool CAverageDialog::targetIsJpeg() const
{
    return ImageFormatOfPath(enginePath(targetFile())) == ImageFormat::Jpeg;
}

void CAverageDialog::browseTarget()
{
    QFileDialog dialog(this);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({tr("Bmp Files(*.bmp)"), tr("Jpeg Files(*.jpg)"), tr("Png Files(*.png)"),
                           tr("All Files(*)")});
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    if (!targetFile().isEmpty()) {
        const QFileInfo target(targetFile());
        dialog.setDirectory(target.absolutePath());
        dialog.selectFile(target.completeBaseName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    PumpMessages();
    const QString chosen = dialog.selectedFiles().front();
    if (!ImageFormatOfPath(enginePath(chosen))) {
        ShowMessage(this, tr("Sorry, the valid extension only can be jpg, png or bmp."));
        return;
    }
    m_targetLabel->setText(chosen);
    UpdateQualityControls();
}

void CAverageDialog::viewTarget()
{
    // The target itself, whether it was written yet or not.
    if (targetFile().isEmpty())
        ShowMessage(this, noTargetText());
    else
        ViewImage(this, targetFile(), viewerPath());
}

QString CAverageDialog::noTargetText() const
{
    return tr("Please select the target file.");
}

QString CAverageDialog::finishedText() const
{
    return tr("Average finished.");
}

void CAverageDialog::showDefaults()
{
    showFields(AverageToolSettings());
}

void CAverageDialog::showStored()
{
    showFields(LoadAverageToolSettings(m_settings.iniFile()));
}

void CAverageDialog::showFields(const AverageToolSettings& fields)
{
    m_sourceLabel->setText(displayPath(fields.sourceFolder));
    m_targetLabel->setText(displayPath(fields.targetFile));
    m_quality->setValue(fields.jpegQuality);
    m_sourceType->setCurrentIndex(fields.sourceType);
    m_resize800->setChecked(fields.resize800 != 0);
    m_resize1024->setChecked(fields.resize1024 != 0);
    m_deleteSources->setChecked(fields.deleteSources != 0);
    m_autoNumber->setChecked(fields.autoNumber != 0);
    UpdateQualityControls();
}

bool CAverageDialog::saveSection()
{
    const AverageToolSettings fields{enginePath(sourceFolder()), enginePath(targetFile()),
                                     m_quality->value(),         m_sourceType->currentIndex(),
                                     checked(m_resize800),       checked(m_resize1024),
                                     checked(m_deleteSources),   checked(m_autoNumber)};
    return SaveAverageToolSettings(fields, m_settings.iniFile());
}
