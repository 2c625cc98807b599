#include "player/video_window_dlg.h"

#include "platform/application_name.h"
#include "player/control_panel_dlg.h"
#include "player/dialog_tool_bar.h"
#include "player/frame_view.h"
#include "player/view_scale.h"
#include "source/frame_source.h"
#include "ui/packed_dib_image.h"
#include "video/screen_picture.h"

#include <QCloseEvent>
#include <QDragMoveEvent>
#include <QIcon>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// The picture area before any video has given it a size.
constexpr QSize kInitialClientSize(326, 208);

} // namespace

CVideoWindowDlg::CVideoWindowDlg(CSettings& settings)
    : QDialog(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      m_caption(QString::fromUtf8(kApplicationName))
{
    setObjectName(QStringLiteral("videoWindow"));
    setWindowTitle(m_caption);
    setWindowIcon(QIcon(QStringLiteral(":/icons/clipmint.svg")));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAcceptDrops(true);
    buildPicture();
    setFixedSize(kInitialClientSize);
    m_panel = std::make_unique<CControlPanelDlg>(settings, this);
    // The commands' keys work while this window is the active one too.
    addActions(m_panel->toolBar()->commandActions());
}

CVideoWindowDlg::~CVideoWindowDlg() = default;

void CVideoWindowDlg::buildPicture()
{
    m_view = new CFrameView;
    m_view->setFixedSize(kInitialClientSize);
    m_scroller = new QScrollArea(this);
    m_scroller->setFrameShape(QFrame::NoFrame);
    // The keys belong to the commands; the wheel and the scroll bars scroll.
    m_scroller->setFocusPolicy(Qt::NoFocus);
    QPalette black = m_scroller->palette();
    black.setColor(QPalette::Window, Qt::black);
    m_scroller->setPalette(black);
    m_scroller->setBackgroundRole(QPalette::Window);
    m_scroller->setWidget(m_view);
    setScrollBars(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_scroller);
}

void CVideoWindowDlg::setClientSize(const FrameRect& frame)
{
    m_frameSize =
        QSize(std::max(frame.right - frame.left, 1), std::max(frame.bottom - frame.top, 1));
    layOutPicture();
    placeOnScreen();
}

void CVideoWindowDlg::toggleFit()
{
    m_fitWanted = !m_fitWanted;
    if (m_frameSize.isEmpty())
        return;
    layOutPicture();
    redrawAtNewScale();
}

// Frames are made at the size they are shown at: one of the new scale replaces the stand-in.
void CVideoWindowDlg::redrawAtNewScale()
{
    CFrameSource& source = m_panel->source();
    if (source.state() == CFrameSource::StateIdle)
        source.Redraw();
}

void CVideoWindowDlg::layOutPicture()
{
    // A panel that is still where it was put goes along with the lower edge, so that a larger
    // video does not end up behind it; one that the user has moved stays where it is.
    const bool panelInPlace = isPanelInPlace();
    const ViewRoom room = viewRoom();
    const double ratio = devicePixelRatioF();
    const double fitScale = FitScale(room, m_frameSize, ratio);
    m_layoutRoom = room;
    m_layoutRatio = ratio;
    m_layoutTooLarge = fitScale < 1;
    m_scale = m_fitWanted ? fitScale : 1.0;
    const QSize picture = ShownSize(m_frameSize, m_scale, ratio);
    m_view->setScale(m_scale, ratio);
    m_view->setFixedSize(picture);
    setScrollBars(m_scale > fitScale ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    if (fitScale < 1) {
        setFixedSize(scrollingClientSize(picture, PictureRoom(room)));
        keepOnScreen();
    } else {
        setFixedSize(picture);
    }
    if (panelInPlace)
        placePanel();
    updateTitle();
}

void CVideoWindowDlg::setScrollBars(Qt::ScrollBarPolicy policy)
{
    m_scroller->setHorizontalScrollBarPolicy(policy);
    m_scroller->setVerticalScrollBarPolicy(policy);
}

ViewRoom CVideoWindowDlg::viewRoom() const
{
    const QRect outer = frameGeometry();
    const QRect inner = geometry();
    const QScreen* screen = this->screen();
    return {screen != nullptr ? screen->availableGeometry().size() : QSize(),
            m_panel->frameGeometry().height(),
            QMargins(inner.left() - outer.left(), inner.top() - outer.top(),
                     outer.right() - inner.right(), outer.bottom() - inner.bottom())};
}

QSize CVideoWindowDlg::scrollingClientSize(QSize picture, QSize room) const
{
    // As much of the picture as the room holds, with a scroll bar beside or under the part that
    // does not fit.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_scroller);
    QSize client = picture;
    if (picture.width() > room.width())
        client.rheight() += bar;
    if (picture.height() > room.height())
        client.rwidth() += bar;
    return client.boundedTo(room);
}

void CVideoWindowDlg::keepOnScreen()
{
    // A window as large as the screen allows is moved, if need be, so that it and the panel
    // under it are whole on the screen.
    const QScreen* screen = this->screen();
    if (screen == nullptr)
        return;
    const QRect area = screen->availableGeometry();
    const QSize outer = frameGeometry().size();
    const int panelHeight = m_panel->frameGeometry().height();
    const QPoint place(std::max(area.left(), std::min(pos().x(), area.right() + 1 - outer.width())),
                       std::max(area.top(), std::min(pos().y(), area.bottom() + 1 - outer.height() -
                                                                    panelHeight)));
    if (place != pos())
        move(place);
}

void CVideoWindowDlg::placeOnScreen()
{
    const QScreen* screen = this->screen();
    if (screen == nullptr)
        return;
    const bool panelInPlace = isPanelInPlace();
    const QRect area = screen->availableGeometry();
    const QSize outer = frameGeometry().size();
    const int panelHeight = m_panel->frameGeometry().height();
    move(area.left() + std::max(0, (area.width() - outer.width()) / 2),
         area.top() + std::max(0, (area.height() - outer.height() - panelHeight) / 2));
    if (panelInPlace) {
        placePanel();
        return;
    }
    const QRect panel = m_panel->frameGeometry();
    const QPoint kept(std::clamp(panel.left(), area.left(),
                                 std::max(area.left(), area.right() + 1 - panel.width())),
                      std::clamp(panel.top(), area.top(),
                                 std::max(area.top(), area.bottom() + 1 - panel.height())));
    if (kept != panel.topLeft())
        m_panel->move(kept);
}

void CVideoWindowDlg::setCaption(const QString& caption)
{
    m_caption = caption;
    updateTitle();
}

void CVideoWindowDlg::setPreviewNote(const QString& note)
{
    m_previewNote = note;
    updateTitle();
}

void CVideoWindowDlg::updateTitle()
{
    QString title = m_caption;
    if (m_scale < 1)
        title = tr("%1 - %2%").arg(title).arg(ScalePercent(m_scale));
    if (!m_previewNote.isEmpty())
        title += QStringLiteral(" - ") + m_previewNote;
    setWindowTitle(title);
}

void CVideoWindowDlg::clearFrame()
{
    // The window keeps its size, all black, until the next video sets it.
    m_view->setFrame(QImage());
    m_view->setFixedSize(size());
    setScrollBars(Qt::ScrollBarAlwaysOff);
    m_frameSize = QSize();
    m_scale = 1;
    updateTitle();
}

void CVideoWindowDlg::showNoVideo()
{
    clearFrame();
    m_view->setFixedSize(kInitialClientSize);
    setFixedSize(kInitialClientSize);
    placeOnScreen();
}

void CVideoWindowDlg::showNoPicture()
{
    // Black in the frame's place; the window keeps its size and scale for the frames around it.
    m_view->setFrame(QImage());
}

const QImage& CVideoWindowDlg::frame() const
{
    return m_view->frame();
}

void CVideoWindowDlg::drawPackedDib(const std::uint8_t* packedDib, int, int)
{
    m_view->setFrame(ImageFromPackedDib(packedDib));
}

std::optional<PixelSize> CVideoWindowDlg::screenPictureSize(PixelSize frameSize) const
{
    const QSize shown = ShownPixels(QSize(frameSize.width, frameSize.height), m_scale);
    return PixelSize{shown.width(), shown.height()};
}

void CVideoWindowDlg::drawScreenPicture(std::shared_ptr<const ScreenPicture> picture)
{
    // Qt draws 32-bit RGB as it is; the image keeps the picture for as long as it is shown.
    const ScreenPicture& pixels = *picture;
    auto* held = new std::shared_ptr<const ScreenPicture>(std::move(picture));
    const QImage image(
        pixels.pixels(), pixels.width(), pixels.height(), static_cast<qsizetype>(pixels.stride()),
        QImage::Format_RGB32,
        [](void* info) { delete static_cast<std::shared_ptr<const ScreenPicture>*>(info); }, held);
    m_view->setShownFrame(image, m_scale);
}

void CVideoWindowDlg::paintEvent(QPaintEvent*)
{
    // Black wherever the picture is not (yet) laid out.
    QPainter(this).fillRect(rect(), Qt::black);
}

void CVideoWindowDlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (m_panelShown)
        return;
    m_panelShown = true;
    m_panel->adjustSize();
    placeOnScreen();
    placePanel();
    m_panel->show();
    // A window manager adds its frames only once the windows are on the screen; both are placed
    // again then, the panel under the frame instead of over it.
    QMetaObject::invokeMethod(this, &CVideoWindowDlg::placeOnScreen, Qt::QueuedConnection);
}

bool CVideoWindowDlg::isPanelInPlace() const
{
    // On X11 a move is carried out a moment later; and a panel placed before the window manager
    // had framed it keeps its inside, rather than its frame, at the place.
    return m_panelShown && (m_panelMovePending || m_panel->pos() == m_panelPlace ||
                            m_panel->geometry().topLeft() == m_panelPlace);
}

void CVideoWindowDlg::panelMoved()
{
    m_panelMovePending = false;
    followRoom();
}

void CVideoWindowDlg::moveEvent(QMoveEvent* event)
{
    QDialog::moveEvent(event);
    followRoom();
}

void CVideoWindowDlg::followRoom()
{
    // The window manager adds the windows' frames only after they are shown, and the user can
    // take the window to another screen: a picture too large for the room it was laid out for,
    // or for the room it has now, is laid out again. One that fits both stays as it is.
    if (m_frameSize.isEmpty() || m_relayoutPending)
        return;
    const ViewRoom room = viewRoom();
    const double ratio = devicePixelRatioF();
    if (room == m_layoutRoom && ratio == m_layoutRatio)
        return;
    if (!m_layoutTooLarge && FitScale(room, m_frameSize, ratio) >= 1)
        return;
    m_relayoutPending = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_relayoutPending = false;
            if (!m_frameSize.isEmpty()) {
                layOutPicture();
                redrawAtNewScale();
            }
        },
        Qt::QueuedConnection);
}

void CVideoWindowDlg::placePanel()
{
    const QRect window = frameGeometry();
    const QRect panel = m_panel->frameGeometry();
    QPoint place(window.left() + (window.width() - panel.width()) / 2, window.bottom() + 1);
    // Under a window low on the screen the panel would leave it, and the user could reach none
    // of its commands: it stays on the screen then, over the picture.
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        place.setX(std::max(area.left(), std::min(place.x(), area.right() + 1 - panel.width())));
        place.setY(std::max(area.top(), std::min(place.y(), area.bottom() + 1 - panel.height())));
    }
    m_panelPlace = place;
    m_panelMovePending = m_panel->pos() != place;
    m_panel->move(m_panelPlace);
}

bool CVideoWindowDlg::event(QEvent* event)
{
    // An X11 window manager frames the window a moment after it is shown, often without moving
    // it; the repaint that follows is the first moment the frame is known for sure.
    if (event->type() == QEvent::UpdateRequest)
        followRoom();
    return QDialog::event(event);
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

// A video dropped here opens as the panel's Open command opens one.
void CVideoWindowDlg::dragEnterEvent(QDragEnterEvent* event)
{
    m_panel->answerDrag(*event, DropPlace::Window);
}

void CVideoWindowDlg::dragMoveEvent(QDragMoveEvent* event)
{
    m_panel->answerDrag(*event, DropPlace::Window);
}

void CVideoWindowDlg::dropEvent(QDropEvent* event)
{
    m_panel->takeDrop(*event, DropPlace::Window);
}

void CVideoWindowDlg::OnCancel()
{
    if (m_panel->deferCloseWhileOpening())
        return;
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
