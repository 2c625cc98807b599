#include "bitrate/chart_layers.h"
#include "bitrate_test_suites.h"

#include <QTest>

namespace {

const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kAxis = qRgb(0, 192, 192);
const QRgb kLine = qRgb(255, 255, 255);

// The rows from `from` to `to` in which column x of image holds colour.
QList<int> rowsOf(const QImage& image, int x, QRgb colour, int from, int to)
{
    QList<int> rows;
    for (int y = from; y <= to; ++y) {
        if (image.pixel(x, y) == colour)
            rows << y;
    }
    return rows;
}

// The rightmost column with a pixel of colour; -1 when there is none.
int rightmostColumn(const QImage& image, QRgb colour)
{
    for (int x = image.width() - 1; x >= 0; --x) {
        if (!rowsOf(image, x, colour, 0, image.height() - 1).isEmpty())
            return x;
    }
    return -1;
}

// The topmost row with a pixel of colour in the columns from `from` on; -1 when there is none.
int topmostRow(const QImage& image, QRgb colour, int from = 0)
{
    for (int y = 0; y < image.height(); ++y) {
        for (int x = from; x < image.width(); ++x) {
            if (image.pixel(x, y) == colour)
                return y;
        }
    }
    return -1;
}

} // namespace

class ChartLayersTest : public QObject
{
    Q_OBJECT

private slots:
    void theFixedAxisKeepsItsGeometryAndCutsAtTheTop()
    {
        ChartLayers chart(QSize(474, 104), ValueAxis::Fixed);
        chart.setTimeRange(100);
        const int left = chart.plotLeft();
        const int top = chart.plotTop();
        const int right = chart.plotRight();
        const int bottom = chart.plotBottom();
        QCOMPARE(left, 42);
        QCOMPARE(QList<int>({top, right, bottom}), QList<int>({10, 464, 79}));

        // The frame runs along the plot's left and top edges and one pixel outside the others;
        // the grid dots every fourth pixel on the quarter rows.
        const QImage& background = chart.background();
        const int middle = (top + bottom) / 2;
        QCOMPARE(background.pixel(left, middle + 1), kAxis);
        QCOMPARE(background.pixel(right + 1, middle + 1), kAxis);
        QCOMPARE(background.pixel(right, middle + 1), kBlack);
        QCOMPARE(background.pixel(left + 10, top), kAxis);
        QCOMPARE(background.pixel(left + 10, bottom + 1), kAxis);
        QCOMPARE(background.pixel(left + 10, bottom), kBlack);
        QCOMPARE(rowsOf(background, left + 8, kAxis, top, bottom + 1),
                 QList<int>({top, middle - 17, middle, middle + 17, bottom + 1}));
        QCOMPARE(rowsOf(background, left + 9, kAxis, top, bottom + 1),
                 QList<int>({top, bottom + 1}));

        // A value of 0 runs on the plot's bottom row, just above the frame, and a hundred
        // values span the plot's width.
        for (int i = 0; i < 100; ++i)
            chart.addValue(0);
        QCOMPARE(rowsOf(chart.plot(), left + 1, kLine, 0, chart.size().height() - 1),
                 QList<int>({bottom}));
        QVERIFY(qAbs(rightmostColumn(chart.plot(), kLine) - right) <= 1);
        const QImage picture = chart.picture();
        QCOMPARE(picture.pixel(left + 9, bottom), kLine);
        QCOMPARE(picture.pixel(left + 9, bottom + 1), kAxis);

        // Above the axis the line is cut at the frame's top edge, and comes back there.
        chart.clear();
        chart.setTimeRange(10);
        chart.addValue(6000);
        QCOMPARE(topmostRow(chart.plot(), kLine), top + 1);
        chart.addValue(1000);
        const int secondStart = int(left + (right - left) / 10.0 + 0.5);
        QCOMPARE(topmostRow(chart.plot(), kLine, secondStart + 1), top + 1);
        QCOMPARE(chart.valueAxisTop(), 5120.0);
    }

    void aValueAboveADoublingAxisDoublesItAndDrawsTheChartAgain()
    {
        ChartLayers chart(QSize(474, 104), ValueAxis::Doubling);
        chart.setTimeRange(10);
        chart.addValue(1000);
        QCOMPARE(chart.plotLeft(), 42);
        chart.addValue(6000);
        QCOMPARE(chart.valueAxisTop(), 10240.0);
        // Five digits on the axis move the plot to the right.
        const int left = chart.plotLeft();
        QCOMPARE(left, 48);
        const int middle = (chart.plotTop() + chart.plotBottom()) / 2;
        QCOMPARE(chart.background().pixel(42, middle), kBlack);
        QCOMPARE(chart.background().pixel(left, middle), kAxis);
        // The first value is drawn again at the new scale.
        const int firstEnd = int(left + (chart.plotRight() - left) / 10.0 + 0.5);
        const int firstRow = chart.plotBottom() - int(1000 * (chart.plotBottom() - 10) / 10240.0);
        QCOMPARE(chart.plot().pixel(firstEnd, firstRow), kLine);
    }
};

int runChartLayersTests(int argc, char** argv)
{
    ChartLayersTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "chart_layers_test.moc"
