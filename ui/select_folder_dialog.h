#pragma once

#include <QDialog>
#include <QDir>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QListView;
class QModelIndex;
class QToolButton;

// Whether the folder dialog lists the files of the folder being browsed, besides its folders.
enum class FolderDialogFiles
{
    Hide,
    Show,
};

// Lets the user pick a folder, which need not exist yet. The dialog lists the folder being
// browsed; a "Current Folder:" field follows the browsing and can be edited, and OK checks the
// field's folder, offers to create it when it is missing and returns it. Files can be listed
// too, so that the user sees what a folder holds before choosing it.
//
// It is a dialog of its own rather than Qt's file dialog: in folder mode that refuses folders
// that don't exist yet, and the desktop's dialog lists no files.
class CSelectFolderDialog : public QDialog
{
    Q_OBJECT

public:
    // filter is given in the program's filter text: descriptions and their patterns, all
    // separated by '|' and ended by "||", as in "Jpg Files(*.jpg)|*.jpg|All Files(*.*)|*.*||";
    // it chooses the files listed and fills the file-type list. Without a filter every file
    // is listed and the file-type list is hidden. The dialog starts browsing initialFolder
    // (or the nearest folder above it that exists) and shows it in its field.
    CSelectFolderDialog(FolderDialogFiles files, const QString& initialFolder,
                        const QString& filter = {}, QWidget* parent = nullptr);

    // Runs the dialog modally: QDialog::Accepted when a folder was chosen, else Rejected.
    int DoModal();
    // The chosen folder, with one '/' at its end; empty until the dialog is accepted.
    QString GetSelectedPath() const { return m_selectedPath; }
    // The folder being browsed; emptied when DoModal returns.
    QString currentFolder() const { return m_currentFolder; }

    // The checks OK makes on the field's folder, for a folder chosen some other way (dropped on
    // a window, say): a name that can't be a folder, or that names a file, is refused with a
    // message, and a missing folder is offered to be created. A relative name is taken in base.
    // The folder with one '/' at its end, or nothing when it was refused.
    static std::optional<QString> CheckFolder(QWidget* parent, QString text, const QDir& base);

public slots:
    // Every way of accepting (the OK button, Enter in the field, activating a file) comes here,
    // so the field's folder is always checked.
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    struct FileType
    {
        QString description;
        QStringList patterns;
    };

    void buildLayout();
    void browse(const QString& folder);
    void onActivated(const QModelIndex& index);
    void onTypeChosen(int index);

    std::vector<FileType> m_types;
    QFileSystemModel* m_model = nullptr; // children of the dialog
    QListView* m_view = nullptr;
    QToolButton* m_upButton = nullptr;
    QLineEdit* m_pathEdit = nullptr;
    QComboBox* m_typeCombo = nullptr;
    QString m_selectedPath;
    QString m_currentFolder;
};
