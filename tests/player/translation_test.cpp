#include "player_test_suites.h"
#include "started_player.h"
#include "ui/message_box.h"
#include "ui/translations.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTextDocumentFragment>
#include <QToolButton>
#include <QTranslator>

#include <cerrno>
#include <cstring>

namespace {

// What may stay in Latin letters in a Chinese window: the program's and its libraries' names,
// the names of formats and standards, units, and the keys of the keyboard as they are printed
// on it. File names, paths, addresses and the placeholders of name patterns ({frame}) are taken
// out before, by their shape.
const QRegularExpression kAllowedWords(
    QStringLiteral("(?<![A-Za-z])(Clipmint|clipmint-cli|Linux|FFmpeg|libjpeg-turbo|libpng|zlib|Qt|"
                   "JPEG|JPG|PNG|BMP|AVI|INI|HDR|UTF|fps|kbps|px|MiB|ms|"
                   "Ctrl|Shift|Home|End|PgUp|PgDown|F1)(?![A-Za-z])"),
    QRegularExpression::CaseInsensitiveOption);
const QRegularExpression kNamesByShape(
    QStringLiteral("\\{\\w+(:\\w+)?\\}|\\S+@\\S+|\\w+://\\S+|[\\w*~/-]*[./][\\w*~/.-]*\\w|"
                   "\\(&\\w\\)|&(?=\\w)"));
const QRegularExpression kEnglishWord(QStringLiteral("[A-Za-z]{2,}"));

// Collects the texts a person sees that are still English, each with where it was seen.
class EnglishFinder
{
public:
    QStringList found() const { return m_found; }
    // A text that may appear whatever the language: one the windows are given, not one of theirs.
    void allow(const QString& text) { m_allowed << text; }

    void check(const QString& where, QString text)
    {
        if (Qt::mightBeRichText(text))
            text = QTextDocumentFragment::fromHtml(text).toPlainText();
        QString left = text;
        for (const QString& allowed : m_allowed)
            left.remove(allowed);
        left.remove(kNamesByShape).remove(kAllowedWords);
        if (left.contains(kEnglishWord))
            m_found << where + QStringLiteral(": ") + text;
    }

    // Every text of the window and of what it holds and would show: titles, labels, buttons,
    // boxes, lists, tool tips and the actions of tool bars and menus.
    void walk(const QWidget& window)
    {
        check(window.metaObject()->className() + QStringLiteral(" title"), window.windowTitle());
        for (const QWidget* widget : window.findChildren<QWidget*>()) {
            if (widget->isVisibleTo(&window))
                walkWidget(*widget);
        }
        walkWidget(window);
    }

private:
    void walkWidget(const QWidget& widget)
    {
        const QString where = widget.metaObject()->className() + (u' ' + widget.objectName());
        check(where, widget.toolTip());
        if (const auto* label = qobject_cast<const QLabel*>(&widget))
            check(where, label->text());
        if (const auto* button = qobject_cast<const QAbstractButton*>(&widget))
            check(where, button->text());
        if (const auto* box = qobject_cast<const QGroupBox*>(&widget))
            check(where, box->title());
        if (const auto* edit = qobject_cast<const QLineEdit*>(&widget))
            check(where, edit->text() + u' ' + edit->placeholderText());
        if (const auto* spin = qobject_cast<const QSpinBox*>(&widget))
            check(where, spin->prefix() + u' ' + spin->suffix());
        if (const auto* combo = qobject_cast<const QComboBox*>(&widget)) {
            for (int i = 0; i < combo->count(); ++i)
                check(where, combo->itemText(i));
        }
        if (const auto* table = qobject_cast<const QTableWidget*>(&widget))
            walkTable(where, *table);
        walkActions(where, widget.actions());
    }

    void walkTable(const QString& where, const QTableWidget& table)
    {
        for (int column = 0; column < table.columnCount(); ++column) {
            if (const QTableWidgetItem* header = table.horizontalHeaderItem(column))
                check(where, header->text());
        }
        for (int row = 0; row < table.rowCount(); ++row) {
            if (const QTableWidgetItem* header = table.verticalHeaderItem(row))
                check(where, header->text());
            for (int column = 0; column < table.columnCount(); ++column) {
                if (const QTableWidgetItem* item = table.item(row, column))
                    check(where, item->text());
            }
        }
    }

    void walkActions(const QString& where, const QList<QAction*>& actions)
    {
        for (const QAction* action : actions) {
            check(where + QStringLiteral(" action"), action->text());
            check(where + QStringLiteral(" action"), action->toolTip());
            if (action->menu())
                walkActions(where + QStringLiteral(" menu"), action->menu()->actions());
        }
    }

    QStringList m_allowed;
    QStringList m_found;
};

// Runs what opens a modal dialog and, once it is up, looks at it and closes it.
void walkModal(EnglishFinder& finder, const std::function<void()>& open)
{
    InsideLoop look([] { return QApplication::activeModalWidget() != nullptr; },
                    [&] {
                        QWidget* dialog = QApplication::activeModalWidget();
                        finder.walk(*dialog);
                        static_cast<QDialog*>(dialog)->reject(); // QFileDialog hides its own
                    });
    open();
    QVERIFY(look.ran());
}

QAbstractButton* button(const QWidget& window, const char* name)
{
    return window.findChild<QAbstractButton*>(QLatin1String(name));
}

} // namespace

class TranslationTest : public QObject
{
    Q_OBJECT

private slots:
    void everyWindowSpeaksChineseUnderAChineseLocale()
    {
        const QLocale chinese(QStringLiteral("zh_CN"));
        const QLocale previous;
        QLocale::setDefault(chinese);
        QTranslator* translation = installTranslation(chinese, {QStringLiteral(CLIPMINT_BIN_DIR)});
        QVERIFY(translation != nullptr);
        EnglishFinder finder;
        // The C library words its failures in the system's language, which the test can't set.
        finder.allow(QString::fromLocal8Bit(std::strerror(ENOENT)));
        // The message boxes are looked at as they would be shown, Qt's buttons included.
        const MessageBoxHook previousHook = setMessageBoxHook([&](const QMessageBox& box) {
            finder.walk(box);
            return box.standardButtons().testFlag(QMessageBox::Ok) ? MessageAnswer::Ok
                                                                   : MessageAnswer::No;
        });
        {
            StartedPlayer player(demoVideo());
            finder.walk(player.window());
            finder.walk(player.panel());
            for (auto* menu : player.panel().findChildren<QMenu*>()) {
                menu->popup({});
                finder.walk(*menu);
                menu->close();
            }
            for (PlayerCommand command :
                 {PlayerCommand::Open, PlayerCommand::Option, PlayerCommand::Position,
                  PlayerCommand::About, PlayerCommand::Scale, PlayerCommand::Average,
                  PlayerCommand::Bitrate, PlayerCommand::ContactSheet})
                walkModal(finder, [&] { player.trigger(command); });
            walkModal(finder, [&] { button(player.panel(), "chooseFolderButton")->click(); });
            button(player.panel(), "viewButton")->click();
            button(player.panel(), "saveParametersButton")->click();
            player.panel().openVideoOrTell(qPath(player.dir().file("gone.avi")));
        }
        setMessageBoxHook(previousHook);
        delete translation;
        QLocale::setDefault(previous);
        QVERIFY2(finder.found().isEmpty(), qPrintable(finder.found().join(u'\n')));
    }
};

int runTranslationTests(int argc, char** argv)
{
    TranslationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "translation_test.moc"
