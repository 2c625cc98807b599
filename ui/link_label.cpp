#include "ui/link_label.h"

#include "ui/message_box.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QUrl>

int OpenURL(const QString& url, const ShellLauncher& launcher,
            const ShellLauncher::Refusal& refused)
{
    const QUrl link = QUrl::fromUserInput(url);
    if (link.isLocalFile() && !QFileInfo::exists(link.toLocalFile()))
        return kUrlFileNotFound;
    return launcher.openUrl(link, refused) ? kUrlOpened : kUrlNoAssociation;
}

QString HyperlinkErrorText(int code)
{
    switch (code) {
    case 0:
        return CLinkLabel::tr("The operating system is out\nof memory or resources.");
    case 2:
        return CLinkLabel::tr("The specified file was not found.");
    case 3:
        return CLinkLabel::tr("The specified path was not found.");
    case 5:
        return CLinkLabel::tr("The operating system denied\naccess to the specified file.");
    case 8:
        return CLinkLabel::tr("There was not enough memory to complete the operation.");
    case 11:
        return CLinkLabel::tr("The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
    case 26:
        return CLinkLabel::tr("A sharing violation occurred. ");
    case 27:
        return CLinkLabel::tr("The filename association is\nincomplete or invalid.");
    case 28:
        return CLinkLabel::tr(
            "The DDE transaction could not\nbe completed because the request timed out.");
    case 29:
        return CLinkLabel::tr("The DDE transaction failed.");
    case 30:
        return CLinkLabel::tr("The DDE transaction could not\nbe completed because other DDE "
                              "transactions\nwere being processed.");
    case 31:
        return CLinkLabel::tr(
            "There is no application associated\nwith the given filename extension.");
    case 32:
        return CLinkLabel::tr("The specified dynamic-link library was not found.");
    default:
        return CLinkLabel::tr("Unknown Error (%1) occurred.").arg(code);
    }
}

CLinkLabel::CLinkLabel(const QString& text, const QString& url, QWidget* parent)
    : QLabel(text, parent), m_hoverColor(palette().color(QPalette::Highlight)), m_url(url)
{
    if (m_url.isEmpty())
        m_url = text;
    if (this->text().isEmpty())
        setText(m_url);
    setTextFormat(Qt::PlainText);
    setCursor(Qt::PointingHandCursor);
    QFont font = this->font();
    font.setUnderline(m_underline);
    setFont(font);
    SetURL(m_url);
}

void CLinkLabel::SetURL(const QString& url)
{
    m_url = url;
    setToolTip(url);
    applyLook();
}

QColor CLinkLabel::textColor() const
{
    if (m_overLink)
        return m_hoverColor;
    return m_visited ? m_visitedColor : m_linkColor;
}

void CLinkLabel::applyLook()
{
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, textColor());
    setPalette(colors);
    if (m_fitToText)
        setFixedSize(sizeHint());
    update();
}

void CLinkLabel::enterEvent(QEnterEvent* event)
{
    QLabel::enterEvent(event);
    m_overLink = true;
    applyLook();
}

void CLinkLabel::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    m_overLink = false;
    applyLook();
}

void CLinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || !rect().contains(event->position().toPoint()))
        return;
    static const ShellLauncher desktop;
    const QPointer<CLinkLabel> self(this);
    const auto refused = [self] {
        if (!self)
            return;
        self->m_visited = false;
        self->applyLook();
        self->reportFailure(kUrlNoAssociation);
    };
    const int result = OpenURL(m_url, m_launcher ? *m_launcher : desktop, refused);
    if (result > kUrlOpenFailureLimit) {
        m_visited = true;
        applyLook();
        return;
    }
    reportFailure(result);
}

void CLinkLabel::reportFailure(int code)
{
    QApplication::beep();
    const QUrl link = QUrl::fromUserInput(m_url);
    const QString target =
        link.isLocalFile() ? QDir::toNativeSeparators(link.toLocalFile()) : m_url;
    ShowMessage(this,
                tr("Unable to open hyperlink:\n\n") + HyperlinkErrorText(code) + "\n\n" + target,
                MessageButtons::Ok, MessageIcon::Exclamation);
}
