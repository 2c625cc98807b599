#pragma once

#include <QString>

#include <functional>

class QMessageBox;
class QWidget;

enum class MessageButtons
{
    Ok,
    OkCancel,
    YesNo,
    YesNoCancel,
};

enum class MessageIcon
{
    Default, // the exclamation mark for every set of buttons above
    Stop,
    Question,
    Exclamation,
    Information,
};

enum class MessageAnswer
{
    Ok,
    Cancel,
    Yes,
    No,
};

// The program's message box: modal, titled with the program's name, plain text (a path
// with '<' in it is shown as it is). Returns the button the user chose; closing a box counts
// as its Cancel or No, or as OK when that is its only button.
MessageAnswer ShowMessage(QWidget* parent, const QString& text,
                          MessageButtons buttons = MessageButtons::Ok,
                          MessageIcon icon = MessageIcon::Default);

// Lets tests answer message boxes instead of a person. While a hook is set, ShowMessage builds
// its box as usual, hands it to the hook instead of showing it, and returns the hook's answer.
// Returns the hook that was set before, so that it can be put back.
using MessageBoxHook = std::function<MessageAnswer(const QMessageBox& box)>;
MessageBoxHook setMessageBoxHook(MessageBoxHook hook);
