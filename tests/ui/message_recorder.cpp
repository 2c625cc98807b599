#include "message_recorder.h"

MessageRecorder::MessageRecorder(QList<MessageAnswer> answers) : m_answers(std::move(answers))
{
    m_previous = setMessageBoxHook([this](const QMessageBox& box) { return answer(box); });
}

MessageRecorder::~MessageRecorder()
{
    setMessageBoxHook(std::move(m_previous));
}

QStringList MessageRecorder::texts() const
{
    QStringList texts;
    for (const ShownMessage& message : m_messages)
        texts << message.text;
    return texts;
}

MessageAnswer MessageRecorder::answer(const QMessageBox& box)
{
    m_messages.append(
        {box.windowTitle(), box.text(), box.icon(), box.standardButtons(), box.textFormat()});
    if (!m_answers.isEmpty())
        return m_answers.takeFirst();
    return box.standardButtons().testFlag(QMessageBox::Ok) ? MessageAnswer::Ok : MessageAnswer::No;
}
