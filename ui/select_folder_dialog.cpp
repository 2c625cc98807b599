#include "ui/select_folder_dialog.h"

#include "ui/message_box.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include <filesystem>
#include <system_error>

namespace {

// The patterns of the program's filter text ("*.jpg;*.jpeg") as Qt writes them. "*.*" stands
// for every file, the many here without a dot included.
QString qtPatterns(const QString& patterns)
{
    QStringList list = patterns.split(u';', Qt::SkipEmptyParts);
    for (QString& pattern : list) {
        pattern = pattern.trimmed();
        if (pattern == u"*.*")
            pattern = QStringLiteral("*");
    }
    return list.join(u' ');
}

// The name filters of Qt's dialog for a filter text of the program, one for each description.
QStringList nameFiltersFromFilterText(const QString& filter)
{
    const QStringList parts = filter.split(u'|');
    QStringList nameFilters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty())
            break;
        nameFilters << QStringLiteral("%1 (%2)").arg(parts[i], qtPatterns(parts[i + 1]));
    }
    return nameFilters;
}

bool createFolders(const QString& path)
{
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(path).toStdString(), error);
    return QFileInfo::exists(path);
}

} // namespace

CSelectFolderDialog::CSelectFolderDialog(FolderDialogFiles files, const QString& initialFolder,
                                         const QString& filter, QWidget* parent)
    : QFileDialog(parent)
{
    // Qt's own dialog, not the desktop's: only its widgets can be reshaped.
    setOption(QFileDialog::DontUseNativeDialog);
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly, files == FolderDialogFiles::Hide);
    const QStringList nameFilters =
        files == FolderDialogFiles::Show ? nameFiltersFromFilterText(filter) : QStringList();
    if (!nameFilters.isEmpty()) {
        // Each filter carries its Linux patterns in a second pair of parentheses; hiding the
        // details shows the descriptions exactly as given.
        setOption(QFileDialog::HideNameFilterDetails);
        setNameFilters(nameFilters);
    }
    setWindowTitle(tr("Select folder"));
    setLabelText(QFileDialog::FileName, tr("Current Folder:"));
    if (!initialFolder.isEmpty())
        setDirectory(initialFolder);
    m_currentFolder = directory().absolutePath();

    replaceFileNameField(initialFolder.isEmpty() ? m_currentFolder : initialFolder);
    replaceAcceptButton();
    if (nameFilters.isEmpty()) {
        for (const char* name : {"fileTypeLabel", "fileTypeCombo"}) {
            if (QWidget* widget = findChild<QWidget*>(QLatin1String(name)))
                widget->hide();
        }
    }
    followBrowsedFolder();
}

void CSelectFolderDialog::replaceFileNameField(const QString& initialFolder)
{
    m_pathEdit = new QLineEdit(initialFolder, this);
    m_pathEdit->setObjectName(QStringLiteral("pathEdit"));
    auto* grid = qobject_cast<QGridLayout*>(layout());
    auto* fileNameEdit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (grid == nullptr || fileNameEdit == nullptr) {
        // FIXME: should a later Qt drop these parts, the field goes below all the others.
        if (grid != nullptr)
            grid->addWidget(m_pathEdit, grid->rowCount(), 0, 1, grid->columnCount());
        return;
    }
    int row = 0;
    int column = 0;
    int rowSpan = 0;
    int columnSpan = 0;
    grid->getItemPosition(grid->indexOf(fileNameEdit), &row, &column, &rowSpan, &columnSpan);
    fileNameEdit->hide();
    m_pathEdit->setFont(fileNameEdit->font());
    grid->addWidget(m_pathEdit, row, column, rowSpan, columnSpan);
    QWidget::setTabOrder(fileNameEdit, m_pathEdit);
}

void CSelectFolderDialog::replaceAcceptButton()
{
    // Qt enables its own Open button only for what it would accept itself; a folder that does
    // not exist yet is a good answer here, so OK is a button of our own that is always on.
    auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    if (buttons == nullptr)
        return;
    // Hiding Qt's button would not last: the box shows all its buttons whenever it lays them
    // out again. Qt's dialog copes with a box that has none of its own.
    for (QAbstractButton* button : buttons->buttons()) {
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) {
            buttons->removeButton(button);
            button->deleteLater();
        }
    }
    QPushButton* ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
}

void CSelectFolderDialog::followBrowsedFolder()
{
    // Every change of the browsed folder, by the user or by setDirectory, sets the model's root.
    if (auto* model = findChild<QFileSystemModel*>())
        connect(model, &QFileSystemModel::rootPathChanged, this,
                &CSelectFolderDialog::onFolderChanged);
    else
        connect(this, &QFileDialog::directoryEntered, this, &CSelectFolderDialog::onFolderChanged);
}

void CSelectFolderDialog::onFolderChanged()
{
    m_currentFolder = directory().absolutePath();
    m_pathEdit->setText(m_currentFolder);
}

int CSelectFolderDialog::DoModal()
{
    const int result = exec();
    m_currentFolder.clear();
    return result;
}

void CSelectFolderDialog::accept()
{
    if (takeFolder(m_pathEdit->text()))
        QDialog::accept();
}

bool CSelectFolderDialog::takeFolder(QString text)
{
    if (text.isEmpty())
        text = directory().absolutePath();
    const std::optional<QString> folder = CheckFolder(this, text, directory());
    if (!folder)
        return false;
    m_selectedPath = *folder;
    return true;
}

std::optional<QString> CSelectFolderDialog::CheckFolder(QWidget* parent, QString text,
                                                        const QDir& base)
{
    // A doubled separator is a typing slip or a network path ("//server/share"): neither
    // names a folder here.
    if (text.isEmpty() || text.contains(QStringLiteral("//"))) {
        ShowMessage(parent, tr("Invalid Folder"), MessageButtons::Ok, MessageIcon::Stop);
        return std::nullopt;
    }
    if (text.size() > 1 && text.endsWith(u'/'))
        text.chop(1);
    if (text == u"~" || text.startsWith(QStringLiteral("~/")))
        text = QDir::homePath() + text.mid(1);
    // A name typed without a folder means one in the folder being browsed.
    text = QDir::cleanPath(base.absoluteFilePath(text));
    // Anything but a folder (or a link to one) would only be refused when it is written to.
    if (QFileInfo::exists(text) && !QFileInfo(text).isDir()) {
        ShowMessage(parent, text + tr("\n\nThis is a file, not a folder. Please choose a folder."),
                    MessageButtons::Ok, MessageIcon::Stop);
        return std::nullopt;
    }
    if (!QFileInfo::exists(text)) {
        const QString question =
            text + tr("\n\nThis path does not exist. Do you want to create it?");
        if (ShowMessage(parent, question, MessageButtons::YesNo, MessageIcon::Question) ==
                MessageAnswer::Yes &&
            !createFolders(text)) {
            ShowMessage(parent, tr("Could not create folder:\n") + text);
            return std::nullopt;
        }
    }
    return text.endsWith(u'/') ? text : text + u'/';
}

void CSelectFolderDialog::showEvent(QShowEvent* event)
{
    QFileDialog::showEvent(event);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    m_pathEdit->setFocus();
}
