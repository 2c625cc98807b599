#include "ui_test_suites.h"

#include <QDir>
#include <QIcon>
#include <QImage>
#include <QTest>

namespace {

// The tool bar's commands; each has an icon named after it, as "period-record.svg".
const char* const kCommands[] = {
    "Open",           "Save Current Image",
    "Play",           "Stop",
    "Record",         "Period Record",
    "First Frame",    "Prev Frame",
    "Next Frame",     "Last Frame",
    "Prev Key Frame", "Next Key Frame",
    "Position",       "Start Position",
    "End Position",   "Scale",
    "Average",        "Option",
    "Bitrate",        "About",
    "Help",           "Contact Sheet",
};

// The icon files: one for each command, and the program's own.
QStringList iconNames()
{
    QStringList names{QStringLiteral("clipmint")};
    for (const char* command : kCommands)
        names << QString::fromLatin1(command).toLower().replace(u' ', u'-');
    names.sort();
    return names;
}

int opaquePixels(const QImage& image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    }
    return count;
}

} // namespace

class IconTest : public QObject
{
    Q_OBJECT

private slots:
    void resourcesHoldExactlyTheIcons()
    {
        QStringList expected;
        for (const QString& name : iconNames())
            expected << name + QStringLiteral(".svg");
        QCOMPARE(QDir(QStringLiteral(":/icons")).entryList(QDir::Files, QDir::Name), expected);
    }

    void everyIconDrawsAtToolBarAndHighDensitySizes_data()
    {
        QTest::addColumn<QString>("name");
        for (const QString& name : iconNames())
            QTest::newRow(qPrintable(name)) << name;
    }

    void everyIconDrawsAtToolBarAndHighDensitySizes()
    {
        QFETCH(QString, name);
        const QIcon icon(QStringLiteral(":/icons/%1.svg").arg(name));
        QVERIFY(!icon.isNull());
        for (const int size : {16, 32}) {
            const QPixmap pixmap = icon.pixmap(size, size);
            QVERIFY2(!pixmap.isNull(), "is Qt's SVG plugin (libqt6svg6) installed?");
            QCOMPARE(pixmap.size(), QSize(size, size));
            // Something is drawn, and not as a blot over the whole square.
            const int drawn = opaquePixels(pixmap.toImage());
            QVERIFY2(drawn > size * size / 10, qPrintable(QString::number(drawn)));
            if (name != QStringLiteral("clipmint"))
                QVERIFY2(drawn < size * size * 9 / 10, qPrintable(QString::number(drawn)));
        }
    }
};

int runIconTests(int argc, char** argv)
{
    IconTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "icons_test.moc"
