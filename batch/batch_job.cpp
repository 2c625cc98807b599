#include "batch/batch_job.h"

#include "batch/trash_can.h"
#include "image/dib_image.h"
#include "image/jpeg_codec.h"
#include "platform/exception.h"
#include "video/frame_export.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace {

std::string writeErrorText(const std::string& path, int error)
{
    std::string text = "Sorry, can't write the file " + path + ".";
    if (error != 0)
        text += std::string(" ") + std::strerror(error) + ".";
    return text;
}

} // namespace

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

BatchStart CBatchJob::prepare(const std::string& sourceFolder, ImageFormat sourceFormat,
                              const std::string& targetFolder)
{
    m_sourceFolder = sourceFolder;
    m_sourceFormat = sourceFormat;
    CSrchDirCounter counter;
    m_fileCount = counter.CountFiles(sourceFolder, imageFormatInfo(sourceFormat).pattern,
                                     SearchDepth::FolderOnly);
    if (m_fileCount == 0)
        return BatchStart::NoFiles;
    // A folder chosen in the folder dialog need not exist yet: whoever writes into it makes it.
    if (!targetFolder.empty()) {
        m_startError = MakeSureDirectoryPathExists(targetFolder);
        if (!m_startError.empty())
            return BatchStart::TargetFolderFailed;
    }
    return BatchStart::Ready;
}

void CBatchJob::run()
{
    CSrchDirRelay relay;
    relay.RunBatch(*this, m_sourceFolder, imageFormatInfo(m_sourceFormat).pattern);
}

int CBatchJob::processFile(const std::string& path)
{
    m_progress.onFile(++m_position, path);
    if (m_stop)
        return 0;
    CDibImage image;
    if (!readSource(path, image)) {
        ++m_result.skipped;
        m_progress.onNotice("skipped " + path + ": it can't be read as a " +
                            std::string(imageFormatInfo(m_sourceFormat).extension) + " image");
        return 1;
    }
    return takeImage(path, image) ? 1 : 0;
}

bool CBatchJob::readSource(const std::string& path, CDibImage& image)
{
    const std::optional<FileStamp> stamp = stampOf(path);
    try {
        if (!stamp || !LoadImageFile(m_sourceFormat, path, image) || image.IsEmpty() ||
            image.Width() <= 0 || image.Height() <= 0)
            return false;
    } catch (const CException&) {
        return false;
    }
    m_sourceStamp = *stamp;
    return true;
}

std::optional<CBatchJob::FileStamp> CBatchJob::stampOf(const std::string& path)
{
    struct stat status = {};
    if (stat(path.c_str(), &status) != 0)
        return std::nullopt;
    constexpr std::int64_t kNanoseconds = 1000000000;
    return FileStamp{status.st_dev, status.st_ino, status.st_size,
                     status.st_mtim.tv_sec * kNanoseconds + status.st_mtim.tv_nsec,
                     status.st_ctim.tv_sec * kNanoseconds + status.st_ctim.tv_nsec};
}

bool CBatchJob::writeImage(ImageFormat format, const std::string& path, CDibImage& image,
                           int quality)
{
    errno = 0;
    try {
        if (SaveImageFile(format, path, image, quality, PngCompression::Fast)) {
            ++m_result.written;
            return true;
        }
        return fail(writeErrorText(path, errno));
    } catch (const CJPEGException& error) {
        return fail("Sorry, can't write the file " + path + ". " + error.ErrorText());
    } catch (const CException& error) {
        return fail(error.ErrorText());
    }
}

bool CBatchJob::trashSource(const std::string& path, const FileStamp& whenRead)
{
    std::string reason;
    if (stampOf(path) != whenRead)
        reason = "it changed after it was read";
    else if (m_trash.moveToTrash(path, reason))
        return true;
    if (m_result.keptSources++ == 0)
        m_result.trashError = reason;
    m_progress.onNotice("kept " + path + ": it can't be moved to the trash: " + reason);
    return false;
}

bool CBatchJob::fail(std::string error)
{
    m_result.outcome = BatchOutcome::Failed;
    m_result.error = std::move(error);
    return false;
}

BatchResult CBatchJob::walkResult() const
{
    BatchResult result = m_result;
    if (result.outcome == BatchOutcome::Finished && m_stop)
        result.outcome = BatchOutcome::Stopped;
    return result;
}
