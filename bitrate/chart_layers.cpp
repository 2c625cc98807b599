#include "bitrate/chart_layers.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

const QColor kBackgroundColour(0, 0, 0);
const QColor kAxisColour(0, 192, 192);
const QColor kLineColour(255, 255, 255);

// Distances of the plot area from the client edges, and the room a label digit takes.
constexpr int kPlotTopMargin = 10;
constexpr int kPlotRightMargin = 10;
constexpr int kPlotBottomMargin = 25;
constexpr int kFirstPlotLeft = 20;
constexpr int kDigitRoom = 6;
constexpr int kGridSpacing = 4;
constexpr int kLabelGap = 4;
constexpr int kLabelCellHeight = 14;
constexpr int kTitleCellHeight = 12;

// A light sans-serif font whose lines are at most cellHeight pixels high, whatever sans-serif
// family the desktop has.
QFont chartFont(int cellHeight)
{
    QFont font(QStringLiteral("sans-serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setWeight(QFont::Light);
    for (int pixels = cellHeight; pixels > 1; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).height() <= cellHeight)
            break;
    }
    return font;
}

// chartFont(cellHeight), made smaller where text would be longer than length: a desktop's
// letters may be wider than the room the chart leaves, and a title is better small than cut.
QFont fittedFont(int cellHeight, const QString& text, int length)
{
    constexpr int kSmallestPixels = 8;
    QFont font = chartFont(cellHeight);
    while (font.pixelSize() > kSmallestPixels &&
           QFontMetrics(font).horizontalAdvance(text) > length)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

// The digits before the decimal point of an axis end's label, less one; an end of 0 has none.
int magnitude(double value)
{
    return value == 0.0 ? 0 : std::abs(static_cast<int>(std::log10(std::abs(value))));
}

void drawTopAligned(QPainter& painter, int x, int y, const QString& text)
{
    painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
}

int advance(const QPainter& painter, const QString& text)
{
    return painter.fontMetrics().horizontalAdvance(text);
}

} // namespace

ChartLayers::ChartLayers(QSize size, ValueAxis valueAxis)
    : m_valueAxis(valueAxis), m_xTitle(QCoreApplication::translate("CChartCtrl", "Time (second)")),
      m_yTitle(QCoreApplication::translate("CChartCtrl", "Video bitrate (kbps)"))
{
    resize(size);
}

void ChartLayers::resize(QSize size)
{
    m_background = QImage(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    m_plot = QImage(m_background.size(), QImage::Format_RGB32);
    layOut();
    redraw();
}

void ChartLayers::layOut()
{
    m_plotLeft = kFirstPlotLeft;
    m_plotTop = kPlotTopMargin;
    m_plotRight = size().width() - kPlotRightMargin;
    m_plotBottom = size().height() - kPlotBottomMargin;
    m_yScale = (m_plotBottom - m_plotTop) / m_yRange;
}

void ChartLayers::setTimeRange(unsigned steps)
{
    m_xMaximum = std::max(steps, 1u);
    redraw();
}

void ChartLayers::addValue(double value)
{
    m_values.push_back(value);
    if (growValueAxis(value))
        redraw();
    else
        drawSegment(value);
}

void ChartLayers::clear()
{
    m_values.clear();
    redraw();
}

QImage ChartLayers::picture() const
{
    QImage picture = m_background;
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
    painter.drawImage(0, 0, m_plot);
    return picture;
}

// A value above the axis doubles it as often as it takes; the axis never shrinks again.
bool ChartLayers::growValueAxis(double value)
{
    if (m_valueAxis == ValueAxis::Fixed || value <= m_yMaximum || !std::isfinite(value))
        return false;
    while (m_yMaximum < value)
        m_yMaximum *= 2;
    m_yRange = m_yMaximum - m_yMinimum;
    layOut();
    return true;
}

void ChartLayers::redraw()
{
    drawBackground();
    m_xOffset = 0.0;
    m_previousValue = 0.0;
    for (double value : m_values)
        drawSegment(value);
}

void ChartLayers::drawBackground()
{
    m_background.fill(kBackgroundColour);
    m_plot.fill(kBackgroundColour);
    // The labels of the value axis decide how far the plot stands in from the left.
    m_plotLeft =
        (std::max(magnitude(m_yMaximum), magnitude(m_yMinimum)) + m_precision + 4) * kDigitRoom;
    m_xStep = double(m_plotRight - m_plotLeft) / m_xMaximum;
    QPainter painter(&m_background);
    drawFrameAndGrid(painter);
    drawLabels(painter);
}

void ChartLayers::drawFrameAndGrid(QPainter& painter) const
{
    painter.setPen(QPen(kAxisColour, 0));
    const QPoint frame[] = {{m_plotLeft, m_plotTop},
                            {m_plotRight + 1, m_plotTop},
                            {m_plotRight + 1, m_plotBottom + 1},
                            {m_plotLeft, m_plotBottom + 1},
                            {m_plotLeft, m_plotTop}};
    painter.drawPolyline(frame, 5);
    const int middle = (m_plotBottom + m_plotTop) / 2;
    const int quarter = (m_plotBottom - m_plotTop) / 4;
    for (int row : {middle - quarter, middle, middle + quarter}) {
        for (int x = m_plotLeft; x < m_plotRight; x += kGridSpacing)
            painter.drawPoint(x, row);
    }
}

void ChartLayers::drawLabels(QPainter& painter) const
{
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(kBackgroundColour);
    painter.setPen(kAxisColour);
    // The value axis's title runs from bottom to top beside the plot, below the label of the
    // axis's top end, and is made smaller where a desktop's letters would not fit there. The
    // labels come after it: where a desktop's digits are wider than the room the plot leaves
    // them, the figures stay whole.
    painter.save();
    const int titleTop = m_plotTop + kLabelCellHeight;
    painter.setFont(fittedFont(kTitleCellHeight, m_yTitle, m_plotBottom - titleTop));
    painter.translate(m_plotLeft / 2 - 10, (m_plotBottom + titleTop) / 2);
    painter.rotate(-90);
    painter.drawText(QPoint(-advance(painter, m_yTitle) / 2, 0), m_yTitle);
    painter.restore();

    painter.setFont(chartFont(kLabelCellHeight));
    const QString top = QString::number(m_yMaximum, 'f', m_precision);
    const QString bottom = QString::number(m_yMinimum, 'f', m_precision);
    const QString steps = QString::number(m_xMaximum);
    const int labelX = m_plotLeft - kLabelGap;
    const int belowPlot = m_plotBottom + kLabelGap;
    drawTopAligned(painter, labelX - advance(painter, top), m_plotTop, top);
    painter.drawText(QPoint(labelX - advance(painter, bottom), m_plotBottom), bottom);
    drawTopAligned(painter, m_plotLeft, belowPlot, QStringLiteral("0"));
    drawTopAligned(painter, m_plotRight - advance(painter, steps), belowPlot, steps);
    drawTopAligned(painter, (m_plotLeft + m_plotRight) / 2 - advance(painter, m_xTitle) / 2,
                   belowPlot, m_xTitle);
}

int ChartLayers::rowOf(double value) const
{
    // Far beyond the client area a row only needs to keep the line's direction.
    const double height = size().height();
    const double offset = std::clamp((value - m_yMinimum) * m_yScale, -2 * height, 2 * height);
    return m_plotBottom - static_cast<int>(offset);
}

void ChartLayers::drawSegment(double value)
{
    const int x0 = static_cast<int>(m_plotLeft + m_xOffset + 0.5);
    const int x1 = static_cast<int>(m_plotLeft + m_xOffset + m_xStep + 0.5);
    const int y0 = rowOf(m_previousValue);
    const int y1 = rowOf(value);
    QPainter painter(&m_plot);
    // A flat cap leaves out the end point, where the next segment starts.
    painter.setPen(QPen(kLineColour, 0, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(x0, y0, x1, y1);
    // The line never leaves the frame's rows: what rose above the plot or fell below it goes.
    const int clientBottom = size().height() - 1;
    if (y0 <= m_plotTop || y1 <= m_plotTop)
        painter.fillRect(QRect(QPoint(x0, 0), QPoint(x1, m_plotTop)), kBackgroundColour);
    if (y0 >= m_plotBottom || y1 >= m_plotBottom)
        painter.fillRect(QRect(QPoint(x0, m_plotBottom + 1), QPoint(x1, clientBottom)),
                         kBackgroundColour);
    m_xOffset += m_xStep;
    m_previousValue = value;
}
