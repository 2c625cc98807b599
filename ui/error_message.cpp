#include "ui/error_message.h"

#include "settings/ini_file.h"
#include "ui/engine_path.h"

#include <QCoreApplication>

#include <cstring>

namespace {

QString systemReason(int error)
{
    if (error == 0)
        return {};
    return QStringLiteral(" ") + QString::fromLocal8Bit(std::strerror(error)) + QStringLiteral(".");
}

QString figure(const Error& error, std::size_t index)
{
    return index < error.figures.size() ? QString::fromStdString(error.figures[index]) : QString();
}

class ErrorWords
{
    Q_DECLARE_TR_FUNCTIONS(ErrorMessage)

public:
    static QString reason(const Error& error);
    static QString message(const Error& error);
    static QString settingsWrite(const Error& error);
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

QString SettingsWriteMessage(const Error& error)
{
    return ErrorWords::settingsWrite(error);
}

QString SettingsWriteMessage(const CIniFile& file)
{
    return file.writeError() ? SettingsWriteMessage(*file.writeError()) : QString();
}

QString ErrorWords::settingsWrite(const Error& error)
{
    return tr("the settings file %1 can't be written: %2")
        .arg(displayPath(error.path), reason(error));
}

QString ErrorWords::reason(const Error& error)
{
    const QString path = displayPath(error.path);
    const QString detail = QString::fromStdString(error.detail);
    switch (error.what) {
    case Failure::NoFrames:
        return tr("the video has no frames");
    case Failure::FrameSize:
        return tr("the video's frame size is unusable");
    case Failure::System:
        return QString::fromLocal8Bit(std::strerror(error.systemError));
    case Failure::SourceChanged:
        return tr("it changed after it was read");
    case Failure::SumsOverBudget:
        return tr("its sums would take more than the %1 MiB an average may use here")
            .arg(figure(error, 0));
    case Failure::ResultTooLarge:
        return tr("there is not enough memory for its result of %1").arg(figure(error, 0));
    case Failure::ResultOverFormat:
        return tr("its result of %1 is larger than a %2 file can hold")
            .arg(figure(error, 0), figure(error, 1));
    case Failure::ResultOverBudget:
        return tr("its result of %1 would take %2 of memory, more than the %3 a result may take "
                  "here")
            .arg(figure(error, 0), figure(error, 1), figure(error, 2));
    case Failure::ResultNameTaken:
        return tr("its result would take the name %1, which is another file of this run").arg(path);
    case Failure::TrashFolder:
        return tr("the trash folder %1 can't be created: %2")
            .arg(path, QString::fromLocal8Bit(std::strerror(error.systemError)));
    case Failure::TrashEntry:
        return tr("its entry in the trash can't be written: %1")
            .arg(QString::fromLocal8Bit(std::strerror(error.systemError)));
    case Failure::TrashFull:
        return tr("the trash holds too many files of its name");
    case Failure::NotRegularFile:
        return tr("it is not a regular file");
    case Failure::SettingsTooLarge:
        return tr("it is larger than 1 MiB, more than a settings file can be");
    case Failure::UnstorableSetting:
        return tr("the value holds a line break or the name can't be stored");
    case Failure::OpenVideo:
    case Failure::NoDecoder:
    case Failure::Reason:
        return detail;
    default:
        return message(error);
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
    case Failure::OpenStopped:
        return tr("The opening of %1 was stopped.").arg(path);
    case Failure::EmptyPicture:
        return tr("Sorry, the picture is empty.");
    case Failure::NamePatternNoNumber:
        return tr("Sorry, the file name pattern \"%1\" holds neither {frame} nor {count}, so two "
                  "frames could get one name.")
            .arg(figure(error, 0));
    case Failure::NamePatternCharacter:
        return tr("Sorry, the file name pattern \"%1\" may hold no \"/\" and no control "
                  "character, and may not start with \".\".")
            .arg(figure(error, 0));
    case Failure::NamePatternPlaceholder:
        return tr("Sorry, the file name pattern \"%1\" holds %2, which is none of {frame}, "
                  "{frame:N}, {count}, {count:N}, {name} and {time}.")
            .arg(figure(error, 0), QString::fromStdString(error.detail));
    case Failure::SheetTooLarge:
        return tr("Sorry, the contact sheet would be %1 pixels, taller than 30000. Please choose "
                  "fewer rows or a smaller width.")
            .arg(figure(error, 0));
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
    case Failure::NoMemoryToAverage:
        return error.path.empty()
                   ? tr("Sorry, there is not enough memory to average the images.")
                   : tr("Sorry, there is not enough memory to average %1.").arg(path);
    case Failure::NoMemoryToMake:
        return tr("Sorry, there is not enough memory to make %1.").arg(path);
    case Failure::MakeResult:
        return tr("Sorry, can't make the result of %1: %2")
            .arg(path, QString::fromStdString(error.detail));
    case Failure::SourceInTheWay:
        return tr("Sorry, can't write the file %1. It is one of the sources, and it can't be "
                  "moved to the trash.")
            .arg(path);
    case Failure::System:
    case Failure::Reason:
    case Failure::SourceChanged:
    case Failure::SumsOverBudget:
    case Failure::ResultTooLarge:
    case Failure::ResultOverFormat:
    case Failure::ResultOverBudget:
    case Failure::ResultNameTaken:
    case Failure::TrashFolder:
    case Failure::TrashEntry:
    case Failure::TrashFull:
    case Failure::NotRegularFile:
    case Failure::SettingsTooLarge:
    case Failure::UnstorableSetting:
        return reason(error);
    case Failure::WriteFile:
        break;
    }
    return tr("Sorry, can't write the file %1.").arg(path) + systemReason(error.systemError);
}
