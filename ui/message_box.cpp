#include "ui/message_box.h"

#include "platform/application_name.h"

#include <QMessageBox>

namespace {

MessageBoxHook& currentHook()
{
    static MessageBoxHook hook;
    return hook;
}

QMessageBox::StandardButtons standardButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return QMessageBox::Ok;
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

// The first button of each set is the one Enter presses, as in every box of the program.
QMessageBox::StandardButton defaultButton(MessageButtons buttons)
{
    return buttons == MessageButtons::Ok || buttons == MessageButtons::OkCancel ? QMessageBox::Ok
                                                                                : QMessageBox::Yes;
}

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Default:
    case MessageIcon::Exclamation:
        break;
    }
    // A box that asks for no icon gets the exclamation mark: every set of buttons the program
    // uses is one that calls for it.
    return QMessageBox::Warning;
}

// What a box answers when it is closed without a button: its Cancel, else its No, else OK.
MessageAnswer dismissedAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return MessageAnswer::Ok;
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    case MessageButtons::OkCancel:
    case MessageButtons::YesNoCancel:
        break;
    }
    return MessageAnswer::Cancel;
}

MessageAnswer answerOf(QMessageBox::StandardButton button, MessageButtons buttons)
{
    switch (button) {
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return dismissedAnswer(buttons);
    }
}

} // namespace

MessageAnswer ShowMessage(QWidget* parent, const QString& text, MessageButtons buttons,
                          MessageIcon icon)
{
    QMessageBox box(boxIcon(icon), QString::fromUtf8(kApplicationName), text,
                    standardButtons(buttons), parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(defaultButton(buttons));
    if (const MessageBoxHook& hook = currentHook())
        return hook(box);
    box.exec();
    return answerOf(box.standardButton(box.clickedButton()), buttons);
}

MessageBoxHook setMessageBoxHook(MessageBoxHook hook)
{
    std::swap(currentHook(), hook);
    return hook;
}
