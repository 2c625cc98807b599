#include "player/video_window_dlg.h"

#include "image/dib.h"
#include "platform/application_name.h"
#include "player/control_panel_dlg.h"
#include "player/dialog_tool_bar.h"
#include "video/frame_source.h"

#include <QCloseEvent>
#include <QIcon>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace {

// The picture area before any video has given it a size.
constexpr QSize kInitialClientSize(326, 208);

} // namespace

CVideoWindowDlg::CVideoWindowDlg(CSettings& settings)
    : QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("videoWindow"));
    setWindowTitle(QString::fromUtf8(kApplicationName));
    setWindowIcon(QIcon(QStringLiteral(":/icons/clipmint.svg")));
    // Painted whole by paintEvent: nothing of the window's own background shows.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(kInitialClientSize);
    m_panel = std::make_unique<CControlPanelDlg>(settings, this);
    // The commands' keys work while this window is the active one too.
    addActions(m_panel->toolBar()->commandActions());
}

CVideoWindowDlg::~CVideoWindowDlg() = default;

void CVideoWindowDlg::setClientSize(const FrameRect& frame)
{
    // A panel that is still where it was put goes along with the lower edge, so that a larger
    // video does not end up behind it; one that the user has moved stays where it is.
    const bool panelInPlace = m_panelShown && m_panel->pos() == m_panelPlace;
    setFixedSize(std::max(frame.right - frame.left, 1), std::max(frame.bottom - frame.top, 1));
    if (panelInPlace)
        placePanel();
}

void CVideoWindowDlg::clearFrame()
{
    m_frame = QImage();
    update();
}

void CVideoWindowDlg::drawPackedDib(const std::uint8_t* packedDib, int width, int height)
{
    // The DIB's rows run bottom-up in blue, green, red order, each padded to four bytes.
    const QImage rows(DibPixelData(packedDib), width, height,
                      static_cast<qsizetype>(DibStride(width, 24)), QImage::Format_BGR888);
    m_frame = rows.mirrored(false, true).convertToFormat(QImage::Format_RGB32);
    update();
}

void CVideoWindowDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!m_frame.isNull())
        painter.drawImage(0, 0, m_frame);
}

void CVideoWindowDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_panelShown)
        return;
    m_panelShown = true;
    m_panel->adjustSize();
    placePanel();
    m_panel->show();
    // A window manager adds its frames only once the windows are on the screen; the panel is
    // placed again then, under the frame instead of over it.
    QMetaObject::invokeMethod(this, &CVideoWindowDlg::placePanel, Qt::QueuedConnection);
}

void CVideoWindowDlg::placePanel()
{
    const QRect window = frameGeometry();
    const QRect panel = m_panel->frameGeometry();
    QPoint place(window.left() + (window.width() - panel.width()) / 2, window.bottom() + 1);
    // Under a video as tall or as wide as the screen the panel would leave the screen, and the
    // user could reach none of its commands: it stays on the screen then, over the picture.
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        place.setX(std::max(area.left(), std::min(place.x(), area.right() + 1 - panel.width())));
        place.setY(std::max(area.top(), std::min(place.y(), area.bottom() + 1 - panel.height())));
    }
    m_panelPlace = place;
    m_panel->move(m_panelPlace);
}

void CVideoWindowDlg::changeEvent(QEvent* event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        followWindowState();
}

void CVideoWindowDlg::followWindowState()
{
    // The panel goes and comes back with this window.
    if (isMinimized()) {
        if (m_panel->isVisible()) {
            m_panel->hide();
            m_panelHiddenWhileMinimised = true;
        }
    } else if (m_panelHiddenWhileMinimised) {
        m_panelHiddenWhileMinimised = false;
        if (!m_destroying)
            m_panel->show();
    }
}

void CVideoWindowDlg::OnCancel()
{
    const int state = m_panel->source().state();
    const bool running =
        state == CFrameSource::StatePlaying || state == CFrameSource::StateRecording;
    if (!m_closing || running) {
        // The panel stops a running loop first; the request comes back when nothing runs.
        m_closing = true;
        QMetaObject::invokeMethod(m_panel.get(), &CControlPanelDlg::OnCancel, Qt::QueuedConnection);
        return;
    }
    m_panel->destroyWindow();
    m_destroying = true;
    close();
}

void CVideoWindowDlg::accept() {}

void CVideoWindowDlg::reject()
{
    OnCancel();
}

void CVideoWindowDlg::closeEvent(QCloseEvent* event)
{
    if (m_destroying) {
        event->accept();
        return;
    }
    event->ignore();
    OnCancel();
}
