#include "ui/select_folder_dialog.h"

#include "ui/message_box.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QToolButton>

#include <filesystem>
#include <system_error>

namespace {

// The patterns of the program's filter text ("*.jpg;*.jpeg"). "*.*" stands for every file, the
// many here without a dot included.
QStringList patternsOf(const QString& patterns)
{
    QStringList list = patterns.split(u';', Qt::SkipEmptyParts);
    for (QString& pattern : list) {
        pattern = pattern.trimmed();
        if (pattern == u"*.*")
            pattern = QStringLiteral("*");
    }
    return list;
}

bool createFolders(const QString& path)
{
    std::error_code error;
    std::filesystem::create_directories(QFile::encodeName(path).toStdString(), error);
    return QFileInfo::exists(path);
}

// The nearest folder at or above path that exists; the working folder when none does.
QString existingFolder(const QString& path)
{
    QDir folder(path.isEmpty() ? QDir::currentPath() : QDir::cleanPath(QDir(path).absolutePath()));
    while (!folder.exists()) {
        if (!folder.cdUp())
            return QDir::currentPath();
    }
    return folder.absolutePath();
}

} // namespace

CSelectFolderDialog::CSelectFolderDialog(FolderDialogFiles files, const QString& initialFolder,
                                         const QString& filter, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Select folder"));
    if (files == FolderDialogFiles::Show) {
        const QStringList parts = filter.split(u'|');
        for (qsizetype i = 0; i + 1 < parts.size() && !parts[i].isEmpty(); i += 2)
            m_types.push_back({parts[i], patternsOf(parts[i + 1])});
    }

    m_model = new QFileSystemModel(this);
    // Folders pass every name filter; files are listed only when asked for, and hidden ones
    // never, as in the desktop's own dialogs.
    m_model->setFilter(files == FolderDialogFiles::Show
                           ? QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot
                           : QDir::AllDirs | QDir::NoDotAndDotDot);
    m_model->setNameFilterDisables(false);
    buildLayout();

    browse(existingFolder(initialFolder));
    if (!initialFolder.isEmpty())
        m_pathEdit->setText(initialFolder);
    if (!m_types.empty())
        onTypeChosen(0);
}

void CSelectFolderDialog::buildLayout()
{
    m_upButton = new QToolButton(this);
    m_upButton->setObjectName(QStringLiteral("toParentButton"));
    m_upButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
    m_upButton->setToolTip(tr("Parent Folder"));
    connect(m_upButton, &QToolButton::clicked, this, [this] {
        QDir folder(m_currentFolder);
        if (folder.cdUp())
            browse(folder.absolutePath());
    });

    m_view = new QListView(this);
    m_view->setObjectName(QStringLiteral("folderView"));
    m_view->setModel(m_model);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    connect(m_view, &QListView::activated, this, &CSelectFolderDialog::onActivated);
    m_view->installEventFilter(this);

    m_pathEdit = new QLineEdit(this);
    m_pathEdit->setObjectName(QStringLiteral("pathEdit"));
    auto* pathLabel = new QLabel(tr("Current Folder:"), this);
    pathLabel->setObjectName(QStringLiteral("pathLabel"));
    pathLabel->setBuddy(m_pathEdit);

    m_typeCombo = new QComboBox(this);
    m_typeCombo->setObjectName(QStringLiteral("fileTypeCombo"));
    for (const FileType& type : m_types)
        m_typeCombo->addItem(type.description);
    auto* typeLabel = new QLabel(tr("Files of type:"), this);
    typeLabel->setBuddy(m_typeCombo);
    connect(m_typeCombo, &QComboBox::currentIndexChanged, this, &CSelectFolderDialog::onTypeChosen);
    typeLabel->setVisible(!m_types.empty());
    m_typeCombo->setVisible(!m_types.empty());

    // OK takes any folder, also one that does not exist yet, so it is always enabled.
    auto* buttons = new QDialogButtonBox(this);
    buttons->setObjectName(QStringLiteral("buttonBox"));
    QPushButton* ok = buttons->addButton(tr("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    buttons->addButton(tr("Cancel"), QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectFolderDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSelectFolderDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(m_upButton, 0, 2, Qt::AlignRight);
    grid->addWidget(m_view, 1, 0, 1, 3);
    grid->addWidget(pathLabel, 2, 0);
    grid->addWidget(m_pathEdit, 2, 1, 1, 2);
    grid->addWidget(typeLabel, 3, 0);
    grid->addWidget(m_typeCombo, 3, 1, 1, 2);
    grid->addWidget(buttons, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    resize(560, 400);
}

void CSelectFolderDialog::browse(const QString& folder)
{
    m_currentFolder = folder;
    m_view->setRootIndex(m_model->setRootPath(folder));
    m_pathEdit->setText(folder);
    m_upButton->setEnabled(!QDir(folder).isRoot());
}

void CSelectFolderDialog::onActivated(const QModelIndex& index)
{
    if (m_model->isDir(index))
        browse(m_model->filePath(index));
    else
        accept();
}

bool CSelectFolderDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Enter on a folder of the list opens it. The list would pass the key on to the dialog
    // as well, whose OK would then take the folder at once.
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_view->currentIndex().isValid()) {
            onActivated(m_view->currentIndex());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CSelectFolderDialog::onTypeChosen(int index)
{
    if (index >= 0 && size_t(index) < m_types.size())
        m_model->setNameFilters(m_types[size_t(index)].patterns);
}

int CSelectFolderDialog::DoModal()
{
    const int result = exec();
    m_currentFolder.clear();
    return result;
}

void CSelectFolderDialog::accept()
{
    // An empty field means the folder being browsed.
    const QString text = m_pathEdit->text().isEmpty() ? m_currentFolder : m_pathEdit->text();
    const std::optional<QString> folder = CheckFolder(this, text, QDir(m_currentFolder));
    if (!folder)
        return;
    m_selectedPath = *folder;
    QDialog::accept();
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
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    m_pathEdit->setFocus();
}
