#pragma once

#include "bitrate/frame_series.h"

#include <QFrame>
#include <QImage>

// The per-frame chart as a window: a sunken frame around DrawFrameChart's picture of a series,
// drawn again when the series or the window's size changes. It takes no input.
class CFrameChartCtrl : public QFrame
{
    Q_OBJECT

public:
    explicit CFrameChartCtrl(QWidget* parent = nullptr);

    void setSeries(FrameSeries series);
    const FrameSeries& series() const { return m_series; }
    // The picture as it is painted.
    const QImage& picture() const { return m_picture; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void redraw();

    FrameSeries m_series;
    QImage m_picture;
};
