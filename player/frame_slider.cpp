#include "player/frame_slider.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionSlider>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

CFrameSlider::CFrameSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent)
{
    setObjectName(QStringLiteral("frameSlider"));
    setTickPosition(QSlider::TicksBelow);
    // The thumb moves while it is dragged; the frame is only decoded once, at the release.
    setTracking(false);
    connect(this, &QAbstractSlider::actionTriggered, this, [this](int action) {
        if (action == SliderPageStepAdd || action == SliderPageStepSub)
            emit channelClicked();
    });
}

void CFrameSlider::Prepare()
{
    setSingleStep(0);
    setPageStep(0);
    setValue(minimum());
    measure();
}

void CFrameSlider::measure()
{
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.sliderPosition = option.minimum;
    option.sliderValue = option.minimum;
    const QRect thumb =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    m_thumbCentre = thumb.left() + (thumb.right() + 1 - thumb.left()) / 2;
    m_channelWidth = width() - 2 * m_thumbCentre;
}

int CFrameSlider::frameAtPosition(int x, int minimum, int maximum, int thumbCentre,
                                  int channelWidth)
{
    if (channelWidth <= 0)
        return minimum;
    const std::int64_t product =
        (std::int64_t(maximum) - minimum) * (std::int64_t(x) - thumbCentre);
    const double frame = minimum + double(product) / channelWidth + 0.5;
    // Far beyond the ends the number only has to stay outside the range.
    constexpr double kLowest = std::numeric_limits<int>::min();
    constexpr double kHighest = std::numeric_limits<int>::max();
    return static_cast<int>(std::trunc(std::clamp(frame, kLowest, kHighest)));
}

int CFrameSlider::CursorFrame() const
{
    return frameAtPosition(m_cursorX, minimum(), maximum(), m_thumbCentre, m_channelWidth);
}

void CFrameSlider::setSelection(int start, int end)
{
    m_selectionStart = start;
    m_selectionEnd = end;
    update();
}

void CFrameSlider::mousePressEvent(QMouseEvent* event)
{
    m_cursorX = event->position().toPoint().x();
    QSlider::mousePressEvent(event);
}

void CFrameSlider::mouseMoveEvent(QMouseEvent* event)
{
    m_cursorX = event->position().toPoint().x();
    QSlider::mouseMoveEvent(event);
    if (isSliderDown())
        emit thumbTracked();
}

void CFrameSlider::mouseReleaseEvent(QMouseEvent* event)
{
    m_cursorX = event->position().toPoint().x();
    QSlider::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        emit leftButtonReleased();
}

void CFrameSlider::keyPressEvent(QKeyEvent* event)
{
    // The arrow and page keys belong to the panel's frame commands.
    event->ignore();
}

void CFrameSlider::wheelEvent(QWheelEvent* event)
{
    event->ignore();
}

void CFrameSlider::resizeEvent(QResizeEvent* event)
{
    QSlider::resizeEvent(event);
    // The panel's layout gives the slider its width after it was prepared.
    measure();
}

int CFrameSlider::positionOfFrame(int frame) const
{
    if (maximum() <= minimum())
        return m_thumbCentre;
    const double offset =
        double(std::int64_t(frame) - minimum()) * m_channelWidth / (double(maximum()) - minimum());
    return m_thumbCentre + static_cast<int>(std::lround(std::clamp(offset, -1e6, 1e6)));
}

void CFrameSlider::paintSelection(QPainter& painter, const QRect& groove) const
{
    const int left = std::max(positionOfFrame(m_selectionStart), 0);
    const int right = std::min(positionOfFrame(m_selectionEnd), width() - 1);
    if (right < left)
        return;
    const QRect band(left, groove.top() + 1, right - left + 1, std::max(groove.height() - 2, 2));
    painter.fillRect(band, palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled,
                                           QPalette::Highlight));
}

void CFrameSlider::paintEvent(QPaintEvent*)
{
    // The groove and ticks first, the marked range over the groove, the thumb over both.
    QPainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    QStyleOptionSlider grooveOption = option;
    grooveOption.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderTickmarks;
    // Styles fill the groove up to the thumb in the highlight colour; here the groove's colour
    // is the marked range's alone.
    grooveOption.palette.setColor(QPalette::Highlight, option.palette.color(QPalette::Button));
    style()->drawComplexControl(QStyle::CC_Slider, &grooveOption, &painter, this);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    paintSelection(painter, groove);
    option.subControls = QStyle::SC_SliderHandle;
    if (isSliderDown()) {
        option.activeSubControls = QStyle::SC_SliderHandle;
        option.state |= QStyle::State_Sunken;
    }
    style()->drawComplexControl(QStyle::CC_Slider, &option, &painter, this);
}
