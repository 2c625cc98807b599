#include "ui/caption_label.h"
#include "ui_test_suites.h"

#include <QImage>
#include <QTest>

namespace {

const QString kLongPath =
    QStringLiteral("/home/someone/Videos/holiday 2023/exported frames/frame_000123.jpg");

// The label's text as drawn when its text area is width pixels wide.
QString shownAt(CCaptionLabel& label, int width)
{
    label.resize(width + 2 * label.frameWidth(), label.sizeHint().height());
    return label.displayedText();
}

class CountingLabel : public CCaptionLabel
{
public:
    int paints = 0;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        ++paints;
        CCaptionLabel::paintEvent(event);
    }
};

int colourCount(const QImage& image, const QRect& area, QRgb colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x)
            count += image.pixel(x, y) == colour ? 1 : 0;
    }
    return count;
}

} // namespace

class CaptionLabelTest : public QObject
{
    Q_OBJECT

private slots:
    void longTextsAreShortenedWithAnEllipsis()
    {
        CCaptionLabel label;
        label.setText(kLongPath);
        const int full = label.fontMetrics().horizontalAdvance(kLongPath);
        QCOMPARE(shownAt(label, full), kLongPath);
        QVERIFY(shownAt(label, full / 2).startsWith(QStringLiteral("/home")));
        QVERIFY(shownAt(label, full / 2).endsWith(u'…'));
        QCOMPARE(label.toolTip(), kLongPath);

        label.setEllipsis(CaptionEllipsis::Path);
        QCOMPARE(shownAt(label, full), kLongPath);
        QString shown = shownAt(label, full / 2);
        QVERIFY2(shown.startsWith(QStringLiteral("/home")) &&
                     shown.endsWith(QStringLiteral("…/frame_000123.jpg")),
                 qPrintable(shown));
        label.setText(QStringLiteral("/home/someone/Videos/holiday 2023/frames/"));
        shown = shownAt(label, full / 3);
        QVERIFY2(shown.startsWith(QStringLiteral("/home")) &&
                     shown.endsWith(QStringLiteral("…/frames/")),
                 qPrintable(shown));
        // Too narrow even for the file name: the middle goes, and both ends stay in sight.
        label.setText(kLongPath);
        shown = shownAt(label, label.fontMetrics().horizontalAdvance(QStringLiteral("frame_0")));
        QVERIFY2(shown.contains(u'…') && shown.startsWith(u'/') && shown.endsWith(u'g'),
                 qPrintable(shown));
    }

    void paintsTheTextOnTheButtonColourAndNothingWhenEmpty()
    {
        CCaptionLabel label;
        label.resize(300, label.sizeHint().height());
        const QRect inside = label.contentsRect();
        const QRgb button = label.palette().color(QPalette::Button).rgb();
        QCOMPARE(colourCount(label.grab().toImage(), inside, button),
                 inside.width() * inside.height());

        label.setText(QStringLiteral("Tom & Jerry"));
        const QImage written = label.grab().toImage();
        QVERIFY(colourCount(written, inside, label.palette().color(QPalette::Text).rgb()) > 0);
        // The text's own background stops where the text does.
        QCOMPARE(written.pixel(inside.right(), inside.center().y()), button);
    }

    void settingTheSameTextRepaintsAndNeverWidensTheField()
    {
        CountingLabel label;
        const QSize emptyHint = label.sizeHint();
        label.setText(kLongPath);
        QCOMPARE(label.sizeHint(), emptyHint);
        label.show();
        QTRY_VERIFY(label.paints > 0);
        label.paints = 0;
        label.setText(kLongPath);
        QTRY_VERIFY(label.paints > 0);
    }
};

int runCaptionLabelTests(int argc, char** argv)
{
    CaptionLabelTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "caption_label_test.moc"
