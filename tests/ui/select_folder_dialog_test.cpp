#include "message_recorder.h"
#include "support/temp_dir.h"
#include "ui/select_folder_dialog.h"
#include "ui_test_suites.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <filesystem>

namespace fs = std::filesystem;

namespace {

const QString kImageFilter = QStringLiteral(
    "Jpg Files(*.jpg)|*.jpg|Bmp Files(*.bmp)|*.bmp|Png Files(*.png)|*.png|All Files(*.*)|*.*||");
const QString kCreateQuestion =
    QStringLiteral("\n\nThis path does not exist. Do you want to create it?");

QString qPath(const fs::path& path)
{
    return QString::fromStdString(path.string());
}

template <typename Widget> Widget* part(const QWidget& dialog, const char* name)
{
    return dialog.findChild<Widget*>(QLatin1String(name));
}

// A dialog as the program's callers show it, browsing folder with its image files listed.
struct ShownDialog
{
    explicit ShownDialog(const fs::path& folder)
        : dialog(FolderDialogFiles::Show, qPath(folder), kImageFilter)
    {
        dialog.show();
    }

    // Types text into the "Current Folder:" field and presses OK.
    void typeAndPressOk(const QString& text)
    {
        part<QLineEdit>(dialog, "pathEdit")->setText(text);
        QTest::mouseClick(part<QPushButton>(dialog, "okButton"), Qt::LeftButton);
    }
    bool accepted() const { return dialog.result() == QDialog::Accepted; }

    CSelectFolderDialog dialog;
};

// The names the dialog lists in the folder it browses, sorted.
QStringList listedNames(const CSelectFolderDialog& dialog)
{
    const auto* view = part<QListView>(dialog, "folderView");
    QStringList names;
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row)
        names << view->model()->index(row, 0, view->rootIndex()).data().toString();
    names.sort();
    return names;
}

QStringList visibleTexts(const QList<QAbstractButton*>& buttons)
{
    QStringList texts;
    for (const QAbstractButton* button : buttons) {
        if (button->isVisible())
            texts << button->text().remove(u'&');
    }
    texts.sort();
    return texts;
}

} // namespace

class SelectFolderDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void listsFoldersAndTheFilesOfTheChosenType()
    {
        TempDir root;
        fs::create_directory(root.path() / "sub");
        WriteBytes(root.file("photo.jpg"), {'x'});
        WriteBytes(root.file("notes"), {'x'});
        ShownDialog shown(root.path());
        const CSelectFolderDialog& dialog = shown.dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Select folder"));
        QCOMPARE(part<QLabel>(dialog, "pathLabel")->text(), QStringLiteral("Current Folder:"));
        QCOMPARE(part<QLineEdit>(dialog, "pathEdit")->text(), qPath(root.path()));
        QCOMPARE(visibleTexts(part<QDialogButtonBox>(dialog, "buttonBox")->buttons()),
                 (QStringList{"Cancel", "OK"}));
        auto* types = part<QComboBox>(dialog, "fileTypeCombo");
        QVERIFY(types->isVisible());
        QCOMPARE(types->count(), 4);
        QCOMPARE(types->itemText(0), QStringLiteral("Jpg Files(*.jpg)"));
        QCOMPARE(types->itemText(3), QStringLiteral("All Files(*.*)"));
        QTRY_COMPARE(listedNames(dialog), (QStringList{"photo.jpg", "sub"}));
        // "*.*" has always meant every file, also those without a dot.
        types->setCurrentIndex(3);
        QTRY_COMPARE(listedNames(dialog), (QStringList{"notes", "photo.jpg", "sub"}));

        CSelectFolderDialog allFiles(FolderDialogFiles::Show, qPath(root.path()));
        CSelectFolderDialog foldersOnly(FolderDialogFiles::Hide, qPath(root.path()), kImageFilter);
        for (CSelectFolderDialog* unfiltered : {&allFiles, &foldersOnly}) {
            unfiltered->show();
            QVERIFY(!part<QComboBox>(*unfiltered, "fileTypeCombo")->isVisible());
        }
        QTRY_COMPARE(listedNames(allFiles), (QStringList{"notes", "photo.jpg", "sub"}));
        QTRY_COMPARE(listedNames(foldersOnly), QStringList{"sub"});
    }

    void browsingFillsTheFieldAndEnterTakesTheFolder()
    {
        TempDir root;
        fs::create_directories(root.path() / "videos" / "frames");
        ShownDialog shown(root.path() / "videos" / "frames");
        QTest::mouseClick(part<QToolButton>(shown.dialog, "toParentButton"), Qt::LeftButton);
        QCOMPARE(part<QLineEdit>(shown.dialog, "pathEdit")->text(), qPath(root.path() / "videos"));
        QCOMPARE(shown.dialog.currentFolder(), qPath(root.path() / "videos"));
        // Enter on a folder of the list opens it, and takes nothing yet.
        auto* view = part<QListView>(shown.dialog, "folderView");
        QTRY_COMPARE(listedNames(shown.dialog), QStringList{"frames"});
        view->setCurrentIndex(view->model()->index(0, 0, view->rootIndex()));
        QTest::keyClick(view, Qt::Key_Return);
        QCOMPARE(shown.dialog.currentFolder(), qPath(root.path() / "videos" / "frames"));
        QVERIFY(!shown.accepted());
        QTest::mouseClick(part<QToolButton>(shown.dialog, "toParentButton"), Qt::LeftButton);

        MessageRecorder recorder;
        QTest::keyClick(part<QLineEdit>(shown.dialog, "pathEdit"), Qt::Key_Return);
        QVERIFY(shown.accepted());
        QCOMPARE(shown.dialog.GetSelectedPath(), qPath(root.path() / "videos/"));
        QVERIFY(recorder.messages().isEmpty());
    }

    void typedFolderEndsWithExactlyOneSlash()
    {
        TempDir root;
        fs::create_directories(root.path() / "out");
        const QString out = qPath(root.path() / "out");
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(qPath(root.path())));
        MessageRecorder recorder;
        // A relative name lies in the browsed folder; an empty field means the browsed folder.
        for (const auto& [typed, expected] : {std::pair{out, out + u'/'},
                                              {out + u'/', out + u'/'},
                                              {"out", out + u'/'},
                                              {"~/out", out + u'/'},
                                              {"", qPath(root.path()) + u'/'}}) {
            ShownDialog shown(root.path());
            shown.typeAndPressOk(typed);
            QVERIFY2(shown.accepted(), qPrintable(typed));
            QCOMPARE(shown.dialog.GetSelectedPath(), expected);
        }
        qputenv("HOME", home);
        QVERIFY(recorder.messages().isEmpty());
    }

    void doubledSlashesAndFilesAreRefused()
    {
        TempDir root;
        WriteBytes(root.file("photo.jpg"), {'x'});
        MessageRecorder recorder;
        for (const QString& typed : {QStringLiteral("//server/share"), qPath(root.path()) + "//out",
                                     QStringLiteral("photo.jpg")}) {
            ShownDialog shown(root.path());
            shown.typeAndPressOk(typed);
            QVERIFY(shown.dialog.isVisible());
            QVERIFY(shown.dialog.GetSelectedPath().isEmpty());
        }
        QCOMPARE(recorder.texts(),
                 (QStringList{"Invalid Folder", "Invalid Folder",
                              qPath(root.path() / "photo.jpg") +
                                  "\n\nThis is a file, not a folder. Please choose a folder."}));
        QCOMPARE(recorder.messages().front().icon, QMessageBox::Critical);
        QVERIFY(!fs::exists(root.path() / "out"));
    }

    void missingFolderIsOfferedForCreation()
    {
        TempDir root;
        const fs::path deep = root.path() / "one" / "two" / "three";
        const fs::path later = root.path() / "later";
        WriteBytes(root.file("file"), {'x'});
        const QString impossible = qPath(root.path() / "file" / "sub");
        MessageRecorder recorder({MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Yes});

        ShownDialog yes(root.path());
        yes.typeAndPressOk(qPath(deep));
        QVERIFY(fs::is_directory(deep));
        QVERIFY(yes.accepted());
        QCOMPARE(yes.dialog.GetSelectedPath(), qPath(deep) + u'/');

        ShownDialog no(root.path());
        no.typeAndPressOk(qPath(later) + u'/');
        QVERIFY(!fs::exists(later));
        QVERIFY(no.accepted());
        QCOMPARE(no.dialog.GetSelectedPath(), qPath(later) + u'/');

        ShownDialog failed(root.path());
        failed.typeAndPressOk(impossible);
        QVERIFY(failed.dialog.isVisible());
        QVERIFY(failed.dialog.GetSelectedPath().isEmpty());

        QCOMPARE(
            recorder.texts(),
            (QStringList{qPath(deep) + kCreateQuestion, qPath(later) + kCreateQuestion,
                         impossible + kCreateQuestion, "Could not create folder:\n" + impossible}));
        QCOMPARE(recorder.messages().front().icon, QMessageBox::Question);
        QCOMPARE(recorder.messages().front().buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(recorder.messages().back().icon, QMessageBox::Warning);
    }

    void modalRunEndsWithOkOrCancel()
    {
        TempDir root;
        CSelectFolderDialog dialog(FolderDialogFiles::Show, qPath(root.path()), kImageFilter);
        QTimer::singleShot(0, &dialog, [&dialog] {
            QTest::mouseClick(part<QPushButton>(dialog, "okButton"), Qt::LeftButton);
        });
        QCOMPARE(dialog.DoModal(), int(QDialog::Accepted));
        QCOMPARE(dialog.GetSelectedPath(), qPath(root.path()) + u'/');
        QVERIFY(dialog.currentFolder().isEmpty());

        CSelectFolderDialog cancelled(FolderDialogFiles::Show, qPath(root.path()), kImageFilter);
        QTimer::singleShot(0, &cancelled, [&cancelled] {
            QTest::keyClick(part<QLineEdit>(cancelled, "pathEdit"), Qt::Key_Escape);
        });
        QCOMPARE(cancelled.DoModal(), int(QDialog::Rejected));
        QVERIFY(cancelled.GetSelectedPath().isEmpty());
    }
};

int runSelectFolderDialogTests(int argc, char** argv)
{
    SelectFolderDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "select_folder_dialog_test.moc"
