#include "clipmint_build.h"
#include "message_recorder.h"
#include "recording_launcher.h"
#include "support/temp_dir.h"
#include "ui/about_box.h"
#include "ui/help_file.h"
#include "ui/link_label.h"
#include "ui_test_suites.h"

#include <QTest>

#include <filesystem>

class AboutBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void aFailedLinkBeepsAndExplainsItsCode()
    {
        QCOMPARE(HyperlinkErrorText(26), QStringLiteral("A sharing violation occurred. "));
        QCOMPARE(HyperlinkErrorText(99), QStringLiteral("Unknown Error (99) occurred."));

        TempDir dir;
        CLinkLabel missing(
            QString(),
            QUrl::fromLocalFile(QString::fromStdString(dir.file("gone.htm"))).toString());
        RecordingLauncher launcher;
        missing.setLauncher(&launcher);
        QCOMPARE(missing.text(), missing.url()); // no text: the link shows itself
        MessageRecorder messages;
        QTest::mouseClick(&missing, Qt::LeftButton);
        QCOMPARE(messages.texts(),
                 QStringList{"Unable to open hyperlink:\n\nThe specified file was not found.\n\n" +
                             QString::fromStdString(dir.file("gone.htm"))});
        QVERIFY(!missing.isVisited());
        QVERIFY(launcher.opened.isEmpty());
    }

    void aLinkTurnsVisitedOnlyOnceItOpened()
    {
        CLinkLabel link(QStringLiteral("the guide"), QStringLiteral("https://example.invalid/"));
        for (const auto outcome :
             {RecordingLauncher::Outcome::Fails, RecordingLauncher::Outcome::Refuses}) {
            RecordingLauncher refused(RecordingLauncher::Outcome::Starts, outcome);
            link.setLauncher(&refused);
            MessageRecorder messages;
            QTest::mouseClick(&link, Qt::LeftButton);
            QCoreApplication::processEvents();
            QCOMPARE(messages.texts(),
                     QStringList{"Unable to open hyperlink:\n\nThere is no "
                                 "application associated\nwith the given "
                                 "filename extension.\n\nhttps://example.invalid/"});
            QVERIFY(!link.isVisited());
        }
        QCOMPARE(link.textColor(), QColor(0, 0, 238));
        RecordingLauncher opens;
        link.setLauncher(&opens);
        MessageRecorder messages;
        QTest::mouseClick(&link, Qt::LeftButton);
        QVERIFY(messages.texts().isEmpty());
        QVERIFY(link.isVisited());
        QCOMPARE(link.textColor(), QColor(85, 26, 139));
        QCOMPARE(link.toolTip(), QStringLiteral("https://example.invalid/"));
    }

    void helpOpensTheGuideOrSaysItIsMissing()
    {
        TempDir empty;
        TempDir installed;
        WriteBytes(installed.file("clipmint.htm"), {'<'});
        const QStringList folders{QString::fromStdString(empty.path().string()),
                                  QString::fromStdString(installed.path().string())};
        RecordingLauncher launcher;
        MessageRecorder messages;
        OpenHelpFile(nullptr, folders, launcher);
        QCOMPARE(launcher.opened, QList<QUrl>{QUrl::fromLocalFile(
                                      QString::fromStdString(installed.file("clipmint.htm")))});
        OpenHelpFile(nullptr, folders.mid(0, 1), launcher);
        QCOMPARE(messages.texts(), QStringList{"Sorry, can't find the help file. Please download "
                                               "the whole package again."});
        QCOMPARE(launcher.opened.size(), 1);

        // No browser on the desktop, or none for web pages: the guide's path, to open by hand.
        for (const auto outcome :
             {RecordingLauncher::Outcome::Fails, RecordingLauncher::Outcome::Refuses}) {
            RecordingLauncher noBrowser(RecordingLauncher::Outcome::Starts, outcome);
            MessageRecorder told;
            OpenHelpFile(nullptr, folders, noBrowser);
            QCoreApplication::processEvents();
            QCOMPARE(told.texts(),
                     QStringList{"Sorry, nothing on this desktop could open the user "
                                 "guide. You can open it in a web browser yourself:\n" +
                                 QString::fromStdString(installed.file("clipmint.htm"))});
        }
    }

    void theAboutBoxNamesTheVersionAndHidesAnUnsetAddress()
    {
        CAboutBox box;
        box.show();
        QVERIFY(box.findChild<QLabel*>("productLine")
                    ->text()
                    .contains(QStringLiteral("Clipmint for Linux version ")));
        QCOMPARE(box.windowTitle(), QStringLiteral("About Clipmint"));
        QVERIFY(box.webLink()->url().endsWith(QStringLiteral("clipmint.htm")));
        QCOMPARE(box.emailLink()->isVisible(), kClipmintContactEmail[0] != '\0');
    }
};

int runAboutBoxTests(int argc, char** argv)
{
    AboutBoxTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "about_box_test.moc"
