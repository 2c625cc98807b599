#include "ui/position_dlg.h"

#include "source/frame_source.h"
#include "ui/message_box.h"
#include "ui/message_pump.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include <algorithm>
#include <limits>

namespace {

QPushButton* makeGoButton(QWidget* parent, const char* name)
{
    auto* button = new QPushButton(CPositionDlg::tr("Go"), parent);
    button->setObjectName(QLatin1String(name));
    // Enter in the fields is the dialog's OK, never a move.
    button->setAutoDefault(false);
    return button;
}

} // namespace

CPositionDlg::CPositionDlg(CFrameSource& source, QWidget* parent)
    : QDialog(parent), m_source(source)
{
    setObjectName(QStringLiteral("positionDialog"));
    setWindowTitle(tr("Position"));
    m_frameEdit = new QLineEdit(QStringLiteral("0"), this);
    m_frameEdit->setObjectName(QStringLiteral("frameNumber"));
    m_frameEdit->setAlignment(Qt::AlignRight);
    // Digits only: no sign can be typed.
    m_frameEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), this));
    m_location = new QComboBox(this);
    m_location->setObjectName(QStringLiteral("location"));
    m_location->addItems({tr("Start frame"), tr("End frame")});
    m_locationIndex = 0;
    m_location->setCurrentIndex(m_locationIndex);

    QPushButton* goToFrame = makeGoButton(this, "goToFrameButton");
    connect(goToFrame, &QPushButton::clicked, this, &CPositionDlg::goToFrame);
    QPushButton* goToLocation = makeGoButton(this, "goToLocationButton");
    connect(goToLocation, &QPushButton::clicked, this, &CPositionDlg::goToLocation);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("Position to frame"), this), 0, 0);
    grid->addWidget(m_frameEdit, 0, 1);
    grid->addWidget(goToFrame, 0, 2);
    grid->addWidget(new QLabel(tr("Position to location"), this), 1, 0);
    grid->addWidget(m_location, 1, 1);
    grid->addWidget(goToLocation, 1, 2);
    grid->setSizeConstraint(QLayout::SetFixedSize);
}

bool CPositionDlg::readFields()
{
    const QString text = m_frameEdit->text().trimmed();
    bool isNumber = !text.isEmpty() && std::all_of(text.begin(), text.end(),
                                                   [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!isNumber) {
        ShowMessage(this, tr("Please enter an integer."));
        m_frameEdit->setFocus();
        return false;
    }
    // No number is refused: one too large for a frame number goes to the last frame anyway.
    bool fits = false;
    const int number = text.toInt(&fits);
    m_frameNumber = fits ? number : std::numeric_limits<int>::max();
    m_locationIndex = m_location->currentIndex();
    return true;
}

void CPositionDlg::goToFrame()
{
    if (!readFields())
        return;
    moveTo(m_frameNumber);
    done(QDialog::Accepted);
}

void CPositionDlg::goToLocation()
{
    if (!readFields())
        return;
    moveTo(m_locationIndex == 0 ? m_source.beginMark() : m_source.endMark());
    done(QDialog::Accepted);
}

void CPositionDlg::moveTo(int frame)
{
    m_source.Seek(std::clamp(frame, m_source.firstFrame(), m_source.lastFrame()));
    // The picture and the slider are repainted before the dialog goes.
    PumpMessages();
}

void CPositionDlg::accept()
{
    if (readFields())
        QDialog::accept();
}

void CPositionDlg::keyPressEvent(QKeyEvent* event)
{
    // Enter presses a focused button, as everywhere; elsewhere it is the dialog's OK.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget())) {
            button->click();
            return;
        }
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
