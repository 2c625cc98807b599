#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;

// What the value axis does with a value above its top.
enum class ValueAxis
{
    Fixed,    // the line rises to the frame's top edge and is cut there
    Doubling, // the axis doubles until the value fits, and the chart is drawn again
};

// The size of the Bitrate dialog's chart inside its border, 320 x 68 dialog units at two pixels a
// unit; the command line draws its pictures at this size too.
inline constexpr QSize kBitrateChartSize(640, 136);

// A growing line graph of one value per time step, drawn into two images of the chart's size: a
// background with the frame, a dotted grid, the axis labels and titles, and a plot to which each
// value adds one segment. The picture is the background ORed with the plot: where the plot is
// black the background shows, and the white line shows everywhere else.
//
// The chart keeps its values, so that a new size, time range or value axis draws it again whole.
class ChartLayers
{
public:
    ChartLayers(QSize size, ValueAxis valueAxis);

    // Lays the chart out for a new size and draws it again.
    void resize(QSize size);
    // The number of time steps that the plot's width spans (at least one); the chart is drawn
    // again at the new scale.
    void setTimeRange(unsigned steps);
    // Adds one segment, from the end of the last one to value at the next time step.
    void addValue(double value);
    // An empty chart: the next value starts at the left edge from 0.
    void clear();

    QSize size() const { return m_background.size(); }
    const QImage& background() const { return m_background; }
    const QImage& plot() const { return m_plot; }
    // Background ORed with plot.
    QImage picture() const;

    // The plot area's edges; the frame runs one pixel outside the right and bottom edges.
    int plotLeft() const { return m_plotLeft; }
    int plotTop() const { return m_plotTop; }
    int plotRight() const { return m_plotRight; }
    int plotBottom() const { return m_plotBottom; }
    double valueAxisTop() const { return m_yMaximum; }
    unsigned timeRange() const { return m_xMaximum; }
    const std::vector<double>& values() const { return m_values; }

private:
    void layOut();
    void redraw();
    void drawBackground();
    void drawFrameAndGrid(QPainter& painter) const;
    void drawLabels(QPainter& painter) const;
    void drawSegment(double value);
    int rowOf(double value) const;
    bool growValueAxis(double value);

    ValueAxis m_valueAxis;
    int m_precision = 0;
    QString m_xTitle;
    QString m_yTitle;
    double m_previousValue = 0.0;
    int m_plotLeft = 0;
    int m_plotTop = 0;
    int m_plotRight = 0;
    int m_plotBottom = 0;
    double m_yMinimum = 0.0;
    double m_yMaximum = 5120.0;
    double m_yRange = 5120.0;
    double m_yScale = 0.0;
    unsigned m_xMaximum = 100;
    double m_xStep = 0.0;
    double m_xOffset = 0.0;
    QImage m_background;
    QImage m_plot;
    std::vector<double> m_values;
};
