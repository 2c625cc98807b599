#include "platform/error.h"

#include <cstring>

namespace {

std::string figure(const Error& error, std::size_t index)
{
    return index < error.figures.size() ? error.figures[index] : std::string();
}

} // namespace

std::string EnglishText(const Error& error)
{
    switch (error.what) {
    case Failure::OpenVideo:
        return "can't open " + error.path + ": " + error.detail;
    case Failure::OpenStopped:
        return "the opening of " + error.path + " was stopped";
    case Failure::NoFrames:
        return "can't open " + error.path + ": the video has no frames";
    case Failure::FrameSize:
        return "can't open " + error.path + ": the video's frame size is unusable";
    case Failure::NoDecoder:
        return "the video's codec can't be decoded: " + error.detail;
    case Failure::NothingDecoded:
        return "the frame can't be decoded";
    case Failure::NotAnImageType:
        return "Sorry, the valid extension only can be jpg, png or bmp.";
    case Failure::CreateFolder:
        return "Sorry, can't create target folder. Please check it. (" + error.path + ": " +
               error.detail + ")";
    case Failure::FileAccess:
        return "An error occurred while accessing " + error.path + ": " +
               std::strerror(error.systemError) + ".";
    case Failure::Library:
        if (error.detail.empty())
            break;
        return "Sorry, can't write the file " + error.path + ". " + error.detail;
    case Failure::System:
        return std::strerror(error.systemError);
    case Failure::Reason:
        return error.detail;
    case Failure::EmptyPicture:
        return "Sorry, the picture is empty.";
    case Failure::NamePatternNoNumber:
        return "the file name pattern \"" + figure(error, 0) +
               "\" holds neither {frame} nor {count}, so two frames could get one name";
    case Failure::NamePatternCharacter:
        return "the file name pattern \"" + figure(error, 0) +
               "\" may hold no \"/\" and no control character, and may not start with \".\"";
    case Failure::NamePatternPlaceholder:
        return "the file name pattern \"" + figure(error, 0) + "\" holds " + error.detail +
               ", which is none of {frame}, {frame:N}, {count}, {count:N}, {name} and {time}";
    case Failure::SheetTooLarge:
        return "the contact sheet would be " + figure(error, 0) + " pixels, taller than 30000";
    case Failure::NotRegularFile:
        return "it is not a regular file";
    case Failure::SettingsTooLarge:
        return "it is larger than 1 MiB, more than a settings file can be";
    case Failure::UnstorableSetting:
        return "the value holds a line break or the name can't be stored";
    case Failure::NoMemoryToAverage:
        return "Sorry, there is not enough memory to average " +
               (error.path.empty() ? std::string("the images") : error.path) + ".";
    case Failure::NoMemoryToMake:
        return "Sorry, there is not enough memory to make " + error.path + ".";
    case Failure::MakeResult:
        return "Sorry, can't make the result of " + error.path + ": " + error.detail;
    case Failure::SourceInTheWay:
        return "Sorry, can't write the file " + error.path +
               ". It is one of the sources, and it can't be moved to the trash.";
    case Failure::SourceChanged:
        return "it changed after it was read";
    case Failure::SumsOverBudget:
        return "its sums would take more than the " + figure(error, 0) +
               " MiB an average may use here";
    case Failure::ResultTooLarge:
        return "there is not enough memory for its result of " + figure(error, 0);
    case Failure::ResultOverFormat:
        return "its result of " + figure(error, 0) + " is larger than a " + figure(error, 1) +
               " file can hold";
    case Failure::ResultOverBudget:
        return "its result of " + figure(error, 0) + " would take " + figure(error, 1) +
               " of memory, more than the " + figure(error, 2) + " a result may take here";
    case Failure::ResultNameTaken:
        return "its result would take the name " + error.path +
               ", which is another file of this run";
    case Failure::TrashFolder:
        return "the trash folder " + error.path +
               " can't be created: " + std::strerror(error.systemError);
    case Failure::TrashEntry:
        return "its entry in the trash can't be written: " +
               std::string(std::strerror(error.systemError));
    case Failure::TrashFull:
        return "the trash holds too many files of its name";
    case Failure::WriteFile:
        break;
    }
    std::string text = "Sorry, can't write the file " + error.path + ".";
    if (error.systemError != 0)
        text += std::string(" ") + std::strerror(error.systemError) + ".";
    return text;
}
