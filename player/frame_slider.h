#pragma once

#include <QSlider>

// The frame slider of the control panel: its range is the video's frame range, its thumb shows
// the current frame and a band in its groove the marked range. A click or a drag is turned into
// the frame under the mouse; the panel seeks there when the button is released. The thumb
// never moves by itself otherwise: keys and the wheel leave it alone, so it always shows the
// frame on the screen.
class CFrameSlider : public QSlider
{
    Q_OBJECT

public:
    explicit CFrameSlider(QWidget* parent = nullptr);

    // Makes the keys and a click beside the thumb leave the position alone, moves the thumb to
    // the start of the range and measures where the thumb's centre travels.
    void Prepare();

    // The frame under the mouse, from its last position over the slider. Positions beyond
    // either end of the channel give frames outside the range.
    int CursorFrame() const;
    // The frame at horizontal position x of a slider whose thumb centre is at thumbCentre at
    // the range's minimum and travels channelWidth pixels to its maximum, rounded to the
    // nearest frame.
    static int frameAtPosition(int x, int minimum, int maximum, int thumbCentre, int channelWidth);

    int thumbCentre() const { return m_thumbCentre; }
    int channelWidth() const { return m_channelWidth; }

    // The marked range, shown as a band in the groove.
    void setSelection(int start, int end);
    int selectionStart() const { return m_selectionStart; }
    int selectionEnd() const { return m_selectionEnd; }

signals:
    // The thumb is being dragged; CursorFrame() is the frame under the mouse.
    void thumbTracked();
    // A click in the channel beside the thumb.
    void channelClicked();
    // The left button was released over the slider, after the slider has handled it.
    void leftButtonReleased();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void measure();
    int positionOfFrame(int frame) const;
    void paintSelection(QPainter& painter, const QRect& groove) const;

    int m_thumbCentre = 0;
    int m_channelWidth = 0;
    int m_cursorX = 0;
    int m_selectionStart = 0;
    int m_selectionEnd = 0;
};
