#pragma once

#include "ui/message_box.h"

#include <QList>
#include <QMessageBox>
#include <QString>

// A message box as it would have been shown.
struct ShownMessage
{
    QString caption;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    Qt::TextFormat format;
};

// Answers the program's message boxes while it lives, in place of a person: each box takes
// the next of the given answers; a box that finds none left is answered OK, or No when it
// has no OK. Puts the previous hook back at the end.
class MessageRecorder
{
public:
    explicit MessageRecorder(QList<MessageAnswer> answers = {});
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    const QList<ShownMessage>& messages() const { return m_messages; }
    QStringList texts() const;

private:
    MessageAnswer answer(const QMessageBox& box);

    QList<MessageAnswer> m_answers;
    QList<ShownMessage> m_messages;
    MessageBoxHook m_previous;
};
