#include "bitrate/frame_chart_ctrl.h"

#include "bitrate/frame_chart.h"

#include <QPainter>

CFrameChartCtrl::CFrameChartCtrl(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void CFrameChartCtrl::setSeries(FrameSeries series)
{
    m_series = std::move(series);
    redraw();
}

void CFrameChartCtrl::redraw()
{
    m_picture = DrawFrameChart(m_series, contentsRect().size());
    update();
}

void CFrameChartCtrl::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_picture);
}

void CFrameChartCtrl::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    if (contentsRect().size() != m_picture.size())
        redraw();
}
