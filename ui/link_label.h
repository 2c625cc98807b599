#pragma once

#include "desktop/shell_launcher.h"

#include <QColor>
#include <QLabel>
#include <QString>

// What opening a link gives: above kUrlOpenFailureLimit it was opened; at or below, the code
// names the failure, as HyperlinkErrorText explains it.
inline constexpr int kUrlOpenFailureLimit = 32;
inline constexpr int kUrlOpened = 33;
inline constexpr int kUrlFileNotFound = 2;
inline constexpr int kUrlNoAssociation = 31;

// Opens a link or a file with the desktop's program for it. A local file that does not exist
// gives kUrlFileNotFound; a link that the desktop could not hand to any program gives
// kUrlNoAssociation, the nearest of the failures the program knows by name, and so does a call
// of refused, when the desktop finds out later that no program could take it.
int OpenURL(const QString& url, const ShellLauncher& launcher,
            const ShellLauncher::Refusal& refused = {});

// The explanation of a failure code, shown after "Unable to open hyperlink:".
QString HyperlinkErrorText(int code);

// A text that is a link: blue, underlined and sized to its text, with the link in its tool
// tip and a pointing hand over it. It takes the palette's highlight colour while the mouse is
// over it, and turns purple once it has been opened. A link that can't be opened beeps and
// says why, and what it leads to, so that the user can open that by hand.
class CLinkLabel : public QLabel
{
    Q_OBJECT

public:
    // An empty text shows the URL; an empty URL is taken from the text.
    CLinkLabel(const QString& text, const QString& url, QWidget* parent = nullptr);

    // Who opens the link; the desktop unless tests set their own, which must outlive the label.
    void setLauncher(const ShellLauncher* launcher) { m_launcher = launcher; }

    void SetURL(const QString& url);
    const QString& url() const { return m_url; }
    bool isVisited() const { return m_visited; }
    // The colour the text is drawn in now.
    QColor textColor() const;

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void applyLook();
    void reportFailure(int code);

    QColor m_linkColor{0, 0, 238};
    QColor m_visitedColor{85, 26, 139};
    QColor m_hoverColor;
    bool m_overLink = false;
    bool m_visited = false;
    bool m_underline = true;
    bool m_fitToText = true;
    QString m_url;
    const ShellLauncher* m_launcher = nullptr;
};
