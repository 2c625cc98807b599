#include "video/frame_export.h"

#include "image/image_format.h"
#include "platform/exception.h"
#include "video/file_name_pattern.h"
#include "video/video_reader.h"

#include <cerrno>
#include <new>

std::string_view RecordedExtension(int format)
{
    return imageFormatInfo(RecordedFormat(format)).extension;
}

std::string FileInFolder(std::string_view folder, std::string_view name, std::string_view extension)
{
    std::string path(folder);
    if (path.empty() || path.back() != '/')
        path += '/';
    path += name;
    path += extension;
    return path;
}

std::string RecordedFileName(std::string_view folder, int frame, std::string_view extension)
{
    return FileInFolder(folder, FileNamePattern().nameOf({{}, frame, 0, 1}), extension);
}

ImageProvenance ProvenanceOf(const VideoReader& reader, int frame)
{
    return {reader.facts().path, frame, FrameTimeText(reader.sampleTime(frame))};
}

Outcome SaveImage(ImageFormat format, const std::string& path, CDibImage& image, int quality,
                  const ImageProvenance* provenance)
{
    errno = 0;
    try {
        if (SaveImageFile(format, path, image, quality, PngCompression::Fast, provenance))
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
