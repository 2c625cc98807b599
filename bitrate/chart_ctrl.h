#pragma once

#include "bitrate/chart_layers.h"

#include <QFrame>

// The bitrate chart as a window: a sunken frame around a ChartLayers picture, which grows by one
// segment a value. Painting copies the finished picture; the text, grid and line are only drawn
// again when the chart changes as a whole. The chart is at least as large as it is made; a layout
// may make it larger. It takes no input.
class CChartCtrl : public QFrame
{
    Q_OBJECT

public:
    explicit CChartCtrl(QWidget* parent = nullptr, QSize chartSize = kBitrateChartSize);

    void SetTimeRange(unsigned steps);
    void AddValue(double value);
    void Clear();

    const ChartLayers& layers() const { return m_layers; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    ChartLayers m_layers;
};
