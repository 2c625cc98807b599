#include "platform/error.h"

#include <cstring>

std::string EnglishText(const Error& error)
{
    switch (error.what) {
    case Failure::OpenVideo:
        return "can't open " + error.path + ": " + error.detail;
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
        if (!error.detail.empty())
            return error.detail;
        break;
    case Failure::WriteFile:
        break;
    }
    std::string text = "Sorry, can't write the file " + error.path + ".";
    if (error.systemError != 0)
        text += std::string(" ") + std::strerror(error.systemError) + ".";
    return text;
}
