#include "sheet/contact_sheet_dlg.h"

#include "settings/settings.h"
#include "sheet/sheet_picture.h"
#include "ui/engine_path.h"
#include "ui/error_message.h"
#include "ui/message_box.h"
#include "ui/message_pump.h"
#include "ui/wait_cursor.h"
#include "video/video_reader.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

namespace {

QSpinBox* makeSpinBox(QWidget* parent, const char* name, int minimum, int maximum, int value)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(minimum, maximum);
    box->setValue(value);
    return box;
}

} // namespace

CContactSheetDlg::CContactSheetDlg(const std::string& videoPath, const CSettings& settings,
                                   QWidget* parent)
    : QDialog(parent), m_videoPath(videoPath), m_settings(settings)
{
    setObjectName(QStringLiteral("contactSheetDialog"));
    setWindowTitle(tr("Contact Sheet"));
    // Wide enough that the title bar shows the whole title beside its buttons.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 160);
    const SheetGrid defaults;
    m_columns = makeSpinBox(this, "columns", 1, kSheetMaxColumns, defaults.columns);
    m_rows = makeSpinBox(this, "rows", 1, kSheetMaxRows, defaults.rows);
    m_width = makeSpinBox(this, "sheetWidth", kSheetMinWidth, kSheetMaxWidth, defaults.width);
    m_width->setSuffix(tr(" pixels"));
    m_keyFrames = new QCheckBox(tr("Key frames only"), this);
    m_keyFrames->setObjectName(QStringLiteral("keyFramesOnly"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* save = buttons->addButton(tr("Save..."), QDialogButtonBox::AcceptRole);
    save->setObjectName(QStringLiteral("saveButton"));
    save->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &CContactSheetDlg::OnSave);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* form = new QFormLayout(this);
    form->addRow(tr("Columns"), m_columns);
    form->addRow(tr("Rows"), m_rows);
    form->addRow(tr("Width"), m_width);
    form->addRow(m_keyFrames);
    form->addRow(buttons);
    form->setSizeConstraint(QLayout::SetFixedSize);
}

SheetGrid CContactSheetDlg::grid() const
{
    SheetGrid grid;
    grid.columns = m_columns->value();
    grid.rows = m_rows->value();
    grid.width = m_width->value();
    grid.frames = m_keyFrames->isChecked() ? SheetFrames::KeyFrames : SheetFrames::All;
    return grid;
}

void CContactSheetDlg::OnSave()
{
    const QFileInfo video(displayPath(m_videoPath));
    QFileDialog dialog(this);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("jpg"));
    dialog.setNameFilters({tr("Jpg Files(*.jpg)"), tr("Png Files(*.png)"), tr("Bmp Files(*.bmp)"),
                           tr("All Files(*)")});
    dialog.setDirectory(video.absolutePath());
    dialog.selectFile(video.completeBaseName() + QStringLiteral("_sheet.jpg"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    // The area under the closed dialog is repainted before the work starts.
    PumpMessages();
    SaveTo(dialog.selectedFiles().first());
}

void CContactSheetDlg::SaveTo(const QString& path)
{
    if (!isPassablePath(path)) {
        tellUnpassablePath(this, path);
        return;
    }
    const std::string file = enginePath(path);
    const std::optional<ImageFormat> format = ImageFormatOfPath(file);
    if (!format) {
        ShowMessage(this, ErrorMessage(Error{Failure::NotAnImageType, file}));
        return;
    }
    const Outcome saved = [&]() -> Outcome {
        const WaitCursor waiting;
        VideoReader reader;
        // Each cell's frame is decoded once, in order: none is asked for again.
        reader.setFrameCacheBudget(0);
        reader.setPictureOptions(PictureOptionsOf(m_settings));
        if (const Outcome opened = reader.open(m_videoPath, WantFrames::Yes); !opened)
            return opened.error();
        if (reader.facts().decoderProblem)
            return *reader.facts().decoderProblem;
        const Result<QImage> sheet = DrawContactSheet(reader, grid());
        if (!sheet)
            return sheet.error();
        return SaveContactSheet(*sheet, *format, file, m_settings.GetOption(OPTION_JPEG_QUALITY));
    }();
    if (!saved) {
        ShowMessage(this, ErrorMessage(saved.error()));
        return;
    }
    accept();
}
