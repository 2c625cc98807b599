#include "bitrate/frame_chart.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

const QColor kBackgroundColour(0, 0, 0);
const QColor kAxisColour(0, 192, 192);
const QColor kAverageColour(255, 255, 255);
const QColor kKeyColour(255, 255, 0);
const QColor kIColour(240, 64, 64);
const QColor kPColour(64, 200, 64);
const QColor kBColour(80, 128, 255);
const QColor kUnknownColour(128, 128, 128);

constexpr int kMargin = 10;
constexpr int kLegendHeight = 16;
constexpr int kKeyMarkHeight = 5;
constexpr int kBottomRoom = 20;
constexpr int kLabelGap = 4;
constexpr int kFontPixels = 11;

QColor colourOf(PictureType type)
{
    switch (type) {
    case PictureType::I:
        return kIColour;
    case PictureType::P:
    case PictureType::S:
        return kPColour;
    case PictureType::B:
        return kBColour;
    case PictureType::Unknown:
        break;
    }
    return kUnknownColour;
}

// A column of the plot, with the frames drawn in it.
struct Column
{
    std::uint32_t bytes = 0; // the largest frame's
    PictureType type = PictureType::Unknown;
    bool key = false;
    double average = 0.0; // at the column's last frame
    bool used = false;
};

class FrameChartPainter
{
public:
    FrameChartPainter(const FrameSeries& series, QImage& image)
        : m_series(series), m_image(image), m_painter(&image)
    {
        QFont font(QStringLiteral("sans-serif"));
        font.setStyleHint(QFont::SansSerif);
        font.setPixelSize(kFontPixels);
        m_painter.setFont(font);
        for (const StoredFrame& frame : series.frames)
            m_largest = std::max(m_largest, frame.bytes);
        m_largest = std::max<std::uint32_t>(m_largest, 1);
    }

    void draw()
    {
        m_image.fill(kBackgroundColour);
        const QFontMetrics metrics = m_painter.fontMetrics();
        const QString top = QString::number(m_largest);
        m_plot = QRect(QPoint(kMargin + metrics.horizontalAdvance(top) + kLabelGap,
                              kMargin + kLegendHeight + kKeyMarkHeight),
                       QPoint(m_image.width() - kMargin, m_image.height() - kBottomRoom));
        drawLegend();
        if (m_plot.width() < 1 || m_plot.height() < 1)
            return;
        drawFrame(top);
        drawColumns();
    }

private:
    void drawLegend()
    {
        int x = kMargin;
        const int y = kMargin;
        const QFontMetrics metrics = m_painter.fontMetrics();
        const auto swatch = [&](const QColor& colour, const QString& name) {
            m_painter.fillRect(QRect(x, y + 3, 8, 8), colour);
            x += 11;
            m_painter.setPen(kAxisColour);
            m_painter.drawText(QPoint(x, y + metrics.ascent()), name);
            x += metrics.horizontalAdvance(name) + 10;
        };
        swatch(kIColour, QStringLiteral("I"));
        swatch(kPColour, QStringLiteral("P"));
        swatch(kBColour, QStringLiteral("B"));
        swatch(kKeyColour, QCoreApplication::translate("FrameChart", "key frame"));
        swatch(kAverageColour, QCoreApplication::translate("FrameChart", "mean of a second"));
        if (const std::optional<GroupLengths> groups = m_series.groupLengths()) {
            m_painter.setPen(kAxisColour);
            m_painter.drawText(
                QPoint(x, y + metrics.ascent()),
                QCoreApplication::translate(
                    "FrameChart", "Key frame interval: shortest %1, average %2, longest %3")
                    .arg(groups->shortest)
                    .arg(groups->average, 0, 'f', 1)
                    .arg(groups->longest));
        }
    }

    void drawFrame(const QString& top)
    {
        const QFontMetrics metrics = m_painter.fontMetrics();
        m_painter.setPen(QPen(kAxisColour, 0));
        m_painter.drawRect(m_plot.adjusted(-1, -1, 0, 0));
        const int labelX = m_plot.left() - kLabelGap;
        m_painter.drawText(
            QPoint(labelX - metrics.horizontalAdvance(top), m_plot.top() + metrics.ascent()), top);
        const QString zero = QStringLiteral("0");
        m_painter.drawText(QPoint(labelX - metrics.horizontalAdvance(zero), m_plot.bottom()), zero);
        if (m_series.frames.empty())
            return;
        const int below = m_plot.bottom() + kLabelGap + metrics.ascent();
        const QString first = QString::number(m_series.frames.front().frame);
        const QString last = QString::number(m_series.frames.back().frame);
        m_painter.drawText(QPoint(m_plot.left(), below), first);
        m_painter.drawText(QPoint(m_plot.right() - metrics.horizontalAdvance(last), below), last);
        const QString title =
            QCoreApplication::translate("FrameChart", "Frame size (bytes) by frame");
        m_painter.drawText(
            QPoint((m_plot.left() + m_plot.right() - metrics.horizontalAdvance(title)) / 2, below),
            title);
    }

    // The frames spread over the plot's columns: a frame covers one column or more, or shares
    // one with its neighbours.
    std::vector<Column> columns() const
    {
        const std::size_t count = m_series.frames.size();
        const std::vector<double> averages = m_series.movingAverage();
        std::vector<Column> columns(static_cast<std::size_t>(m_plot.width()));
        for (std::size_t i = 0; i < count; ++i) {
            const StoredFrame& frame = m_series.frames[i];
            Column& column = columns[i * columns.size() / count];
            if (!column.used || frame.bytes > column.bytes) {
                column.bytes = frame.bytes;
                column.type = frame.type;
            }
            column.key = column.key || frame.key;
            column.average = averages[i];
            column.used = true;
        }
        return columns;
    }

    int rowOf(double bytes) const
    {
        return m_plot.bottom() - static_cast<int>(bytes / m_largest * (m_plot.height() - 1));
    }

    void drawColumns()
    {
        const std::vector<Column> all = columns();
        // A frame wider than a column is one bar across its columns, with a gap when there is
        // room for one.
        const std::size_t count = m_series.frames.size();
        const bool gaps = count > 0 && all.size() / count >= 3;
        QPolygon averageLine;
        for (std::size_t x = 0; x < all.size(); ++x) {
            const Column* column = &all[x];
            std::size_t start = x;
            // The columns a frame spans (they follow the one it was placed in).
            while (x + 1 < all.size() && !all[x + 1].used)
                ++x;
            if (!column->used)
                continue;
            const int left = m_plot.left() + static_cast<int>(start);
            const int right = m_plot.left() + static_cast<int>(x) - (gaps ? 1 : 0);
            const int row = rowOf(column->bytes);
            m_painter.fillRect(QRect(QPoint(left, row), QPoint(right, m_plot.bottom())),
                               colourOf(column->type));
            if (column->key)
                m_painter.fillRect(QRect(QPoint(left, m_plot.top() - kKeyMarkHeight - 1),
                                         QPoint(std::max(left, right), m_plot.top() - 2)),
                                   kKeyColour);
            averageLine << QPoint((left + right) / 2, rowOf(column->average));
        }
        m_painter.setPen(QPen(kAverageColour, 0));
        m_painter.drawPolyline(averageLine);
    }

    const FrameSeries& m_series;
    QImage& m_image;
    QPainter m_painter;
    QRect m_plot;
    std::uint32_t m_largest = 1;
};

} // namespace

QImage DrawFrameChart(const FrameSeries& series, QSize size)
{
    QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    FrameChartPainter(series, image).draw();
    return image;
}
