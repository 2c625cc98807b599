#include "player/frame_view.h"

#include "player/view_scale.h"

#include <QPainter>

CFrameView::CFrameView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picture"));
    // Painted whole by paintEvent: nothing of the widget's own background shows.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CFrameView::setFrame(QImage frame)
{
    m_frame = std::move(frame);
    makeShownImage();
    update();
}

void CFrameView::setShownFrame(QImage frame, double scale)
{
    m_frame = QImage();
    m_shown = std::move(frame);
    m_shown.setDevicePixelRatio(m_ratio);
    m_shownScale = scale;
    update();
}

void CFrameView::setScale(double scale, double devicePixelRatio)
{
    if (scale == m_scale && devicePixelRatio == m_ratio)
        return;
    m_scale = scale;
    m_ratio = devicePixelRatio;
    if (m_frame.isNull() && !m_shown.isNull()) {
        // A picture made for the old scale stands in, smoothly rescaled, until the next one.
        const QSize size = ShownPixels(m_shown.size(), m_scale / m_shownScale);
        m_shown = m_shown.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_shown.setDevicePixelRatio(m_ratio);
        m_shownScale = m_scale;
    } else {
        makeShownImage();
    }
    update();
}

void CFrameView::makeShownImage()
{
    m_shownScale = m_scale;
    m_shown = QImage(); // so that the frame is not shared while its ratio is set
    if (m_frame.isNull() || m_scale >= 1) {
        // Tagged with the screen's ratio, the image is drawn one pixel on each device pixel.
        m_frame.setDevicePixelRatio(m_ratio);
        m_shown = m_frame;
        return;
    }
    // Qt's smooth scaling averages every source pixel, where a painter's smooth transform would
    // sample only a few of them when it shrinks a picture to a third.
    m_shown = m_frame.scaled(ShownPixels(m_frame.size(), m_scale), Qt::IgnoreAspectRatio,
                             Qt::SmoothTransformation);
    m_shown.setDevicePixelRatio(m_ratio);
}

void CFrameView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_shown.isNull())
        painter.drawImage(QPointF(0, 0), m_shown);
}
