#include "ui/message_pump.h"

#include <QCoreApplication>
#include <QEventLoop>

void PumpMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
