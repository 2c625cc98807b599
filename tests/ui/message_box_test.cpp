#include "message_recorder.h"
#include "ui/message_box.h"
#include "ui_test_suites.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs act on the message box once it shows modally, as a person would.
void whenBoxShows(std::function<void(QMessageBox&)> act)
{
    QTimer::singleShot(0, [act = std::move(act)] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        QVERIFY(box != nullptr);
        act(*box);
    });
}

} // namespace

class MessageBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void boxHasTheProgramsNameTheButtonsAndTheIcon()
    {
        struct Case
        {
            MessageButtons buttons;
            MessageIcon icon;
            QMessageBox::StandardButtons expectedButtons;
            QMessageBox::Icon expectedIcon;
        };
        const Case cases[] = {
            {MessageButtons::Ok, MessageIcon::Default, QMessageBox::Ok, QMessageBox::Warning},
            {MessageButtons::YesNoCancel, MessageIcon::Default,
             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Warning},
            {MessageButtons::OkCancel, MessageIcon::Stop, QMessageBox::Ok | QMessageBox::Cancel,
             QMessageBox::Critical},
            {MessageButtons::YesNo, MessageIcon::Question, QMessageBox::Yes | QMessageBox::No,
             QMessageBox::Question},
        };
        MessageRecorder recorder;
        const QString text = QStringLiteral("Could not create folder:\n/tmp/<b>&amp;");
        for (const Case& c : cases)
            ShowMessage(nullptr, text, c.buttons, c.icon);
        QCOMPARE(recorder.messages().size(), qsizetype(std::size(cases)));
        for (qsizetype i = 0; i < recorder.messages().size(); ++i) {
            const ShownMessage& shown = recorder.messages()[i];
            QCOMPARE(shown.caption, QStringLiteral("Clipmint"));
            QCOMPARE(shown.text, text);
            QCOMPARE(shown.format, Qt::PlainText);
            QCOMPARE(shown.buttons, cases[i].expectedButtons);
            QCOMPARE(shown.icon, cases[i].expectedIcon);
        }
    }

    void hookIsPutBackAndWithoutOneTheBoxRunsModally()
    {
        {
            MessageRecorder recorder({MessageAnswer::Cancel});
            QCOMPARE(ShowMessage(nullptr, QStringLiteral("q"), MessageButtons::OkCancel),
                     MessageAnswer::Cancel);
        }
        whenBoxShows([](QMessageBox& box) {
            QCOMPARE(box.windowTitle(), QStringLiteral("Clipmint"));
            QCOMPARE(box.defaultButton(), box.button(QMessageBox::Yes));
            box.button(QMessageBox::No)->click();
        });
        QCOMPARE(ShowMessage(nullptr, QStringLiteral("Sure?"), MessageButtons::YesNoCancel),
                 MessageAnswer::No);
    }
};

int runMessageBoxTests(int argc, char** argv)
{
    MessageBoxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "message_box_test.moc"
