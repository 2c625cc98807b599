#pragma once

#include "bitrate/chart_layers.h"

#include <QFrame>

// The bitrate chart as a window: a sunken frame around a ChartLayers picture of the chart's size,
// which grows by one segment a value. Painting copies the finished picture; the text, grid and
// line are only drawn again when the chart changes as a whole. It takes no input.
class CChartCtrl : public QFrame
{
    Q_OBJECT

public:
    explicit CChartCtrl(QWidget* parent = nullptr, QSize chartSize = kBitrateChartSize);

    void SetTimeRange(unsigned steps);
    void AddValue(double value);
    void Clear();

    const ChartLayers& layers() const { return m_layers; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChartLayers m_layers;
};
