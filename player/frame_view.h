#pragma once

#include <QImage>
#include <QWidget>

// The video window's picture: the frame drawn last, at the top-left corner on black, either one
// image pixel on each device pixel or scaled down smoothly to a smaller size.
class CFrameView : public QWidget
{
public:
    explicit CFrameView(QWidget* parent = nullptr);

    // The frame at full size, as the source decoded it; a null image shows black.
    void setFrame(QImage frame);
    // The frame made at the size it is shown at the given scale already.
    void setShownFrame(QImage frame, double scale);
    // The frame as it is shown, or a null image.
    const QImage& frame() const { return m_shown; }
    // Frames are shown at scale, from image pixels to device pixels, on a screen of the ratio.
    void setScale(double scale, double devicePixelRatio);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void makeShownImage();

    QImage m_frame;          // at full size, when it came so
    QImage m_shown;          // m_frame itself at scale 1; scaled once per frame, not once per paint
    double m_shownScale = 1; // the scale m_shown was made at
    double m_scale = 1;
    double m_ratio = 1;
};
