#pragma once

#include "player/view_scale.h"
#include "source/frame_display.h"

#include <QDialog>
#include <QImage>

#include <memory>

class CControlPanelDlg;
class CFrameView;
class CSettings;
class QScrollArea;
struct FrameRect;

// The program's main window: its whole client area is the picture, frames drawn at the top-left
// corner on black, and it is exactly as large as the frames of the open video, one image pixel
// on each pixel of the screen. It creates the control panel and places it centred under itself.
//
// A frame that does not fit the screen with the panel under it is shown scaled down to fit, and
// the title says at what scale; the user can switch between that and full size, where the
// window is as large as the screen allows and scrolls.
//
// Closing is a hand-shake with the panel through queued cancel commands: the first close only
// passes the request on to the panel, which stops a running playback or recording first; when
// the request comes back, both windows close and the program ends. Nothing is torn down while a
// loop that uses it is still running further up the stack.
class CVideoWindowDlg : public QDialog, public FrameDisplay
{
    Q_OBJECT

public:
    explicit CVideoWindowDlg(CSettings& settings);
    ~CVideoWindowDlg() override;

    CControlPanelDlg* panel() const { return m_panel.get(); }

    // Makes the client area exactly the frame size, or fits the frame to the screen when it is
    // too large for it, and places the window, with the panel under it, on the screen as at the
    // start.
    void setClientSize(const FrameRect& frame);
    // Between frames scaled to fit the screen and frames at full size that scroll; nothing
    // changes while the frames fit the screen anyway.
    void toggleFit();
    // The scale from image pixels to device pixels at which frames are shown.
    double pictureScale() const { return m_scale; }
    // The title without the scale, which the window adds when frames are scaled.
    void setCaption(const QString& caption);
    // What the title adds while the picture is not the current frame's, as while the slider is
    // dragged; empty for none.
    void setPreviewNote(const QString& note);
    // Back to black, for while a video opens; the window keeps its size until the video sets it.
    void clearFrame();
    // Back to black at the size the window has without a video, placed as at the start, for when
    // a video could not be opened.
    void showNoVideo();
    // The frame drawn last, at the size it is shown at, or a null image.
    const QImage& frame() const;

    void drawPackedDib(const std::uint8_t* packedDib, int width, int height) override;
    std::optional<PixelSize> screenPictureSize(PixelSize frameSize) const override;
    void drawScreenPicture(std::shared_ptr<const ScreenPicture> picture) override;
    // A frame without a picture shows black.
    void showNoPicture() override;

    // The panel's report of a move, by the user, the window manager or this window; its frame,
    // which the window manager may just have added, takes room from a fitted picture.
    void panelMoved();

    // Escape or the close box, and the panel's answer to this window's own cancel.
    void OnCancel();

public slots:
    // Enter has nothing to confirm here.
    void accept() override;
    void reject() override;

protected:
    void redrawAtNewScale();
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    bool event(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildPicture();
    void layOutPicture();
    void setScrollBars(Qt::ScrollBarPolicy policy);
    ViewRoom viewRoom() const;
    QSize scrollingClientSize(QSize picture, QSize room) const;
    void keepOnScreen();
    // Centres the window with the panel under it in the screen's available area, as far as they
    // fit; a panel the user has moved away stays where it is, as far as it is on the screen.
    void placeOnScreen();
    // Lays the picture out again when the room on the screen has changed for a frame that is
    // too large for it.
    void followRoom();
    bool isPanelInPlace() const;
    void updateTitle();
    void placePanel();
    void followWindowState();

    std::unique_ptr<CControlPanelDlg> m_panel; // also a Qt child, which it leaves when deleted
    QScrollArea* m_scroller = nullptr;         // a child, holding the picture
    CFrameView* m_view = nullptr;
    QSize m_frameSize; // of the open video; empty when none
    bool m_fitWanted = true;
    double m_scale = 1;
    QString m_caption;
    QString m_previewNote;
    // What the picture was laid out for last.
    ViewRoom m_layoutRoom;
    double m_layoutRatio = 1;
    bool m_layoutTooLarge = false;
    bool m_relayoutPending = false;
    QPoint m_panelPlace; // where placePanel() put the panel last
    bool m_panelMovePending = false;
    bool m_closing = false;
    bool m_destroying = false;
    bool m_panelShown = false;
    bool m_panelHiddenWhileMinimised = false;
};
