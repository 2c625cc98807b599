#include "bitrate/chart_ctrl.h"

#include <QPainter>

CChartCtrl::CChartCtrl(QWidget* parent, QSize chartSize)
    : QFrame(parent), m_layers(chartSize, ValueAxis::Doubling)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    const int border = 2 * frameWidth();
    setMinimumSize(chartSize + QSize(border, border));
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize CChartCtrl::sizeHint() const
{
    return minimumSize();
}

void CChartCtrl::SetTimeRange(unsigned steps)
{
    m_layers.setTimeRange(steps);
    update();
}

void CChartCtrl::AddValue(double value)
{
    m_layers.addValue(value);
    update();
}

void CChartCtrl::Clear()
{
    m_layers.clear();
    update();
}

void CChartCtrl::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), m_layers.picture());
}

void CChartCtrl::resizeEvent(QResizeEvent* event)
{
    QFrame::resizeEvent(event);
    if (contentsRect().size() != m_layers.size())
        m_layers.resize(contentsRect().size());
}
