#include "ui/caption_label.h"

#include <QPainter>

namespace {

constexpr int kTypicalCharacters = 30;

// Shortens a path to width with the ellipsis before its last component, which stays whole
// ("/home/someone/Vid…/frame_000123.jpg"); a folder's trailing '/' stays with its name. When
// not even the last component fits, the middle of the whole text goes.
QString elidePath(const QString& path, const QFontMetrics& metrics, int width)
{
    if (metrics.horizontalAdvance(path) <= width)
        return path;
    const qsizetype cut = path.lastIndexOf(u'/', path.endsWith(u'/') ? -2 : -1);
    const QString tail = cut > 0 ? path.mid(cut) : QString();
    const int headWidth = width - metrics.horizontalAdvance(tail);
    if (tail.isEmpty() || headWidth < metrics.horizontalAdvance(QStringLiteral("/…")))
        return metrics.elidedText(path, Qt::ElideMiddle, width);
    return metrics.elidedText(path.left(cut), Qt::ElideRight, headWidth) + tail;
}

} // namespace

CCaptionLabel::CCaptionLabel(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void CCaptionLabel::setEllipsis(CaptionEllipsis ellipsis)
{
    m_ellipsis = ellipsis;
    update();
}

void CCaptionLabel::setText(const QString& text)
{
    m_text = text;
    setToolTip(text);
    update();
}

QString CCaptionLabel::displayedText() const
{
    const int width = contentsRect().width();
    if (m_ellipsis == CaptionEllipsis::Path)
        return elidePath(m_text, fontMetrics(), width);
    return fontMetrics().elidedText(m_text, Qt::ElideRight, width);
}

QSize CCaptionLabel::sizeHint() const
{
    const int frame = 2 * frameWidth();
    return {fontMetrics().averageCharWidth() * kTypicalCharacters + frame,
            fontMetrics().height() + frame};
}

QSize CCaptionLabel::minimumSizeHint() const
{
    const int frame = 2 * frameWidth();
    return {fontMetrics().horizontalAdvance(QStringLiteral("M…")) + frame,
            fontMetrics().height() + frame};
}

void CCaptionLabel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    // The text gets a box of the text background on the button-coloured field, which shows
    // at a glance where a short path ends.
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(palette().brush(QPalette::Base));
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                     displayedText());
}
