#pragma once

#include <QFrame>
#include <QString>

// Where a caption label shortens a text that is too long for it.
enum class CaptionEllipsis
{
    End,  // "/home/user/Pict..."
    Path, // "/home/.../frames": the file or last folder name stays visible
};

// A read-only, one-line field for paths: the text is drawn whole when it fits and shortened
// with an ellipsis when it does not, never cut off or wrapped; the tool tip holds the whole
// text. An ampersand is shown as itself. The field does not widen itself to fit its text, so
// a long path cannot push a dialog's layout apart.
class CCaptionLabel : public QFrame
{
    Q_OBJECT

public:
    explicit CCaptionLabel(QWidget* parent = nullptr);

    void setEllipsis(CaptionEllipsis ellipsis);
    CaptionEllipsis ellipsis() const { return m_ellipsis; }

    QString text() const { return m_text; }
    void setText(const QString& text);

    // The text as it is drawn at the field's present width.
    QString displayedText() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    CaptionEllipsis m_ellipsis = CaptionEllipsis::End;
};
