#pragma once

#include "video/frame_display.h"

#include <QDialog>
#include <QImage>

#include <memory>

class CControlPanelDlg;
class CSettings;
struct FrameRect;

// The program's main window: its whole client area is the picture, frames drawn unscaled at
// the top-left corner on black, and it is exactly as large as the frames of the open video.
// It creates the control panel and places it centred under itself.
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

    // Makes the client area exactly the frame size; the window keeps its place.
    void setClientSize(const FrameRect& frame);
    // Back to black, for when no video is open.
    void clearFrame();
    // The picture as it is shown: the frame drawn last, or a null image.
    const QImage& frame() const { return m_frame; }

    void drawPackedDib(const std::uint8_t* packedDib, int width, int height) override;

    // Escape or the close box, and the panel's answer to this window's own cancel.
    void OnCancel();

public slots:
    // Enter has nothing to confirm here.
    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void placePanel();
    void followWindowState();

    std::unique_ptr<CControlPanelDlg> m_panel; // also a Qt child, which it leaves when deleted
    QImage m_frame;
    QPoint m_panelPlace; // where placePanel() put the panel last
    bool m_closing = false;
    bool m_destroying = false;
    bool m_panelShown = false;
    bool m_panelHiddenWhileMinimised = false;
};
