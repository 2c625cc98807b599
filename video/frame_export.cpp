#include "video/frame_export.h"

#include "image/image_format.h"
#include "platform/exception.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <new>
#include <system_error>

std::string_view RecordedExtension(int format)
{
    return imageFormatInfo(RecordedFormat(format)).extension;
}

std::string RecordedFileName(std::string_view folder, int frame, std::string_view extension)
{
    std::string name(folder);
    if (name.empty() || name.back() != '/')
        name += '/';
    char number[16];
    std::snprintf(number, sizeof number, "%06d", frame);
    name += number;
    name += extension;
    return name;
}

SaveImageResult SaveImageByExtension(const std::string& path, CDibImage& image, int quality)
{
    const std::optional<ImageFormat> format = ImageFormatOfPath(path);
    if (!format)
        return SaveImageResult::NotAnImageType;
    return SaveImageFile(*format, path, image, quality, PngCompression::Fast)
               ? SaveImageResult::Written
               : SaveImageResult::Failed;
}

Outcome SaveImage(ImageFormat format, const std::string& path, CDibImage& image, int quality)
{
    errno = 0;
    try {
        if (SaveImageFile(format, path, image, quality, PngCompression::Fast))
            return Done{};
        return Error{Failure::WriteFile, path, errno, {}};
    } catch (const CFileException& error) {
        return Error{Failure::FileAccess, error.Path(), error.Error(), {}};
    } catch (const CException& error) {
        return Error{Failure::Library, path, 0, error.ErrorText()};
    } catch (const std::bad_alloc&) {
        return Error{Failure::WriteFile, path, ENOMEM, {}};
    }
}

std::string CantWriteFileText(const std::string& path, int error)
{
    std::string text = "Sorry, can't write the file " + path + ".";
    if (error != 0)
        text += std::string(" ") + std::strerror(error) + ".";
    return text;
}

std::string MakeSureDirectoryPathExists(const std::string& folder)
{
    if (folder.empty())
        return "no folder was named";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    // The overloads with an error code: a name too long for the system must not throw.
    std::error_code notThere;
    if (std::filesystem::is_directory(folder, notThere))
        return {};
    if (!error)
        error = notThere;
    if (!error)
        error = std::make_error_code(std::errc::not_a_directory);
    return error.message();
}
