#include "ui/scale_dialog.h"

#include "batch/scale_job.h"
#include "batch/scale_size.h"
#include "settings/batch_settings.h"
#include "settings/settings.h"
#include "ui/caption_label.h"
#include "ui/engine_path.h"
#include "ui/message_box.h"
#include "ui/select_folder_dialog.h"
#include "ui/view_first_image.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>
#include <QVBoxLayout>

CScaleDialog::CScaleDialog(CSettings& settings, TrashCan& trash, QWidget* parent)
    : CBatchDialog(settings, trash, parent)
{
    setObjectName(QStringLiteral("scaleDialog"));
    setWindowTitle(tr("Scale"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildSourceGroup());
    layout->addWidget(buildTargetGroup());
    layout->addLayout(buildBottomRows());
    layout->setSizeConstraint(QLayout::SetFixedSize);
    initialise();
}

QGroupBox* CScaleDialog::buildTargetGroup()
{
    auto* group = new QGroupBox(tr("Target"), this);
    m_targetLabel = makePathLabel("targetFolder");
    m_targetType = new QComboBox(this);
    m_targetType->setObjectName(QStringLiteral("targetType"));
    for (const ImageFormatInfo& format : imageFormats())
        m_targetType->addItem(QLatin1String(format.pattern));
    connect(m_targetType, &QComboBox::currentIndexChanged, this,
            &CScaleDialog::UpdateQualityControls);
    m_size = new QComboBox(this);
    m_size->setObjectName(QStringLiteral("size"));
    for (const ScaleSizeInfo& size : scaleSizes())
        m_size->addItem(QLatin1String(size.name));

    auto* typeRow = new QHBoxLayout;
    typeRow->addWidget(new QLabel(tr("Target file:"), this));
    typeRow->addWidget(addControl(m_targetType));
    typeRow->addStretch();
    typeRow->addLayout(buildQualityRow(tr("Jpeg quality:")));
    typeRow->addStretch();
    typeRow->addWidget(new QLabel(tr("Size:"), this));
    typeRow->addWidget(addControl(m_size));

    auto* column = new QVBoxLayout(group);
    column->addLayout(buildTargetRow(tr("Target folder:")));
    column->addWidget(m_targetLabel);
    column->addLayout(typeRow);
    return group;
}

QString CScaleDialog::targetFolder() const
{
    return m_targetLabel->text();
}

ImageFormat CScaleDialog::targetFormat() const
{
    return BatchFormat(m_targetType->currentIndex());
}

void CScaleDialog::startRun()
{
    if (targetFolder().isEmpty()) {
        ShowMessage(this, noTargetText());
        return;
    }
    for (const QString& path : {sourceFolder(), targetFolder()}) {
        if (!isPassablePath(path)) {
            tellUnpassablePath(this, path);
            return;
        }
    }
    // The quality is that of the start for the whole run.
    const ScaleJobSettings job{enginePath(sourceFolder()),
                               sourceFormat(),
                               enginePath(targetFolder()),
                               targetFormat(),
                               m_size->currentIndex(),
                               m_quality->value(),
                               sourceFiles()};
    CScaleJob scale(m_trash, *this);
    if (started(scale.start(job), scale))
        runJob(scale, [&scale] { return scale.finish(); });
}

bool CScaleDialog::targetIsJpeg() const
{
    return targetFormat() == ImageFormat::Jpeg;
}

void CScaleDialog::browseTarget()
{
    CSelectFolderDialog dialog(FolderDialogFiles::Show, targetFolder(),
                               BatchFolderFilter(targetFormat()), this);
    if (dialog.DoModal() == QDialog::Accepted)
        m_targetLabel->setText(dialog.GetSelectedPath());
}

void CScaleDialog::viewTarget()
{
    if (targetFolder().isEmpty())
        ShowMessage(this, noTargetText());
    else
        ViewFirstImage(this, targetFolder(), viewerPath());
}

QString CScaleDialog::noTargetText() const
{
    return tr("Please select the target folder.");
}

QString CScaleDialog::finishedText() const
{
    return tr("Scale finished.");
}

void CScaleDialog::showDefaults()
{
    showFields(ScaleToolSettings());
}

void CScaleDialog::showStored()
{
    showFields(LoadScaleToolSettings(m_settings.iniFile()));
}

void CScaleDialog::showFields(const ScaleToolSettings& fields)
{
    m_sourceLabel->setText(displayPath(fields.sourceFolder));
    m_targetLabel->setText(displayPath(fields.targetFolder));
    m_quality->setValue(fields.jpegQuality);
    // A stored index beyond a list leaves it without a selection.
    m_sourceType->setCurrentIndex(fields.sourceType);
    m_targetType->setCurrentIndex(fields.targetType);
    m_size->setCurrentIndex(fields.size);
    m_deleteSources->setChecked(fields.deleteSources != 0);
}

bool CScaleDialog::saveSection()
{
    const ScaleToolSettings fields{
        enginePath(sourceFolder()),          enginePath(targetFolder()),   m_quality->value(),
        m_sourceType->currentIndex(),        m_targetType->currentIndex(), m_size->currentIndex(),
        m_deleteSources->isChecked() ? 1 : 0};
    return SaveScaleToolSettings(fields, m_settings.iniFile());
}
