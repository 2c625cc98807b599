#include "ui/error_message.h"

#include "ui/engine_path.h"

#include <QCoreApplication>

#include <cstring>

namespace {

QString systemReason(int error)
{
    if (error == 0)
        return {};
    return QStringLiteral(" ") + QString::fromLocal8Bit(std::strerror(error)) +
           QStringLiteral(".");
}

class ErrorWords
{
    Q_DECLARE_TR_FUNCTIONS(ErrorMessage)

public:
    static QString reason(const Error& error);
    static QString message(const Error& error);
};

} // namespace

QString ErrorReason(const Error& error)
{
    return ErrorWords::reason(error);
}

QString ErrorMessage(const Error& error)
{
    return ErrorWords::message(error);
}

QString ErrorWords::reason(const Error& error)
{
    switch (error.what) {
    case Failure::NoFrames:
        return tr("the video has no frames");
    case Failure::FrameSize:
        return tr("the video's frame size is unusable");
    default:
        return QString::fromStdString(error.detail);
    }
}

QString ErrorWords::message(const Error& error)
{
    const QString path = displayPath(error.path);
    switch (error.what) {
    case Failure::OpenVideo:
    case Failure::NoFrames: {
        const QString why = reason(error);
        return tr("Sorry, can't open the file\n") + path + tr(".\nPlease check it.") +
               (why.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(why));
    }
    case Failure::NoDecoder:
    case Failure::FrameSize:
        return tr("Sorry, the pictures of this video can't be decoded: ") + reason(error) +
               tr(".\nIts frames stay black.");
    case Failure::NothingDecoded:
        return tr("Sorry, this frame can't be decoded, so it was not saved.");
    case Failure::NotAnImageType:
        return tr("Sorry, the valid extension only can be jpg, png or bmp.");
    case Failure::CreateFolder:
        return tr("Sorry, can't create target folder. Please check it. (%1)")
            .arg(QString::fromStdString(error.detail));
    case Failure::FileAccess:
        return tr("An error occurred while accessing %1: %2.")
            .arg(path, QString::fromLocal8Bit(std::strerror(error.systemError)));
    case Failure::Library:
        return tr("Sorry, can't write the file %1.").arg(path) + QStringLiteral(" ") +
               QString::fromStdString(error.detail);
    case Failure::WriteFile:
        break;
    }
    return tr("Sorry, can't write the file %1.").arg(path) + systemReason(error.systemError);
}
