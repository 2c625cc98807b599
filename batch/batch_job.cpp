#include "batch/batch_job.h"

#include "batch/trash_can.h"
#include "image/dib_image.h"
#include "image/jpeg_codec.h"
#include "platform/exception.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"

#include <cerrno>
#include <exception>
#include <filesystem>
#include <system_error>

#include <sys/stat.h>

namespace {

// How long a run waits for its workers before the caller may handle its events again.
constexpr std::chrono::milliseconds kWaitInterval(10);

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

BatchStart CBatchJob::refuse(BatchStart why, std::string error)
{
    m_startError = std::move(error);
    return why;
}

bool CBatchJob::isSource(const std::string& path) const
{
    const std::filesystem::path file(path);
    std::error_code error;
    return std::filesystem::is_regular_file(file, error) &&
           MatchesWildcard(file.filename().string(), imageFormatInfo(m_sourceFormat).pattern) &&
           SameFile(file.parent_path().empty() ? "." : file.parent_path().string(), m_sourceFolder);
}

void CBatchJob::run()
{
    // Results are made on worker threads; each holds an image or two, so only a few are out at
    // once.
    if (const int workers = workerCount(); workers > 0)
        m_queue = std::make_unique<WorkQueue>(workers, 2 * static_cast<std::size_t>(workers),
                                              [] { return NoWorkspace{}; });
    CSrchDirRelay relay;
    relay.RunBatch(*this, m_sourceFolder, imageFormatInfo(m_sourceFormat).pattern);
    // After a failure the results still to come would only be dropped: the tasks not started
    // go with the queue.
    while (m_queue && !m_queue->isEmpty() && m_result.outcome != BatchOutcome::Failed)
        waitForNext();
    m_queue.reset();
}

// The source is read here, on the run's thread, when the caller hears of it: what it was then
// is what goes into the results, and what the trash is checked against.
int CBatchJob::processFile(const std::string& path)
{
    m_progress.onFile(++m_position, path);
    takeFinished();
    if (m_stop || m_result.outcome == BatchOutcome::Failed)
        return 0;
    auto work = std::make_shared<SourceWork>();
    work->path = path;
    if (!readSource(path, m_sourceFormat, work->image, work->stamp)) {
        ++m_result.skipped;
        m_progress.onNotice("skipped " + path + ": it can't be read as a " +
                            std::string(imageFormatInfo(m_sourceFormat).extension) + " image");
        return 1;
    }
    prepareSource(*work);
    if (!m_queue)
        return take(*work) ? 1 : 0;
    while (!m_queue->hasRoom())
        waitForNext();
    if (m_result.outcome == BatchOutcome::Failed)
        return 0; // an earlier result failed meanwhile: this one would only be dropped
    // A task must be copyable; what it works on is not.
    m_queue->push([this, work](NoWorkspace&) {
        // A worker must not throw; running out of memory fails the run instead.
        try {
            makeResult(*work);
        } catch (const std::exception& error) {
            work->result.reset();
            work->error = Error{Failure::MakeResult, work->path, 0, error.what()};
        }
        return std::move(*work);
    });
    return 1;
}

void CBatchJob::waitForNext()
{
    m_progress.onWait();
    m_queue->waitForNext(kWaitInterval);
    takeFinished();
}

// What the workers finished, in the order of the walk. After a failure the rest is given up: a
// result not put in place is removed with its SourceWork, and its source stays.
void CBatchJob::takeFinished()
{
    if (!m_queue)
        return;
    while (std::optional<SourceWork> work = m_queue->takeNext()) {
        if (m_result.outcome != BatchOutcome::Failed)
            take(*work);
    }
}

bool CBatchJob::take(SourceWork& work)
{
    m_inHand = work.path;
    const bool goOn = takeSource(work);
    m_inHand.clear();
    return goOn;
}

bool CBatchJob::readSource(const std::string& path, ImageFormat format, CDibImage& image,
                           FileStamp& stamp)
{
    const std::optional<FileStamp> before = stampOf(path);
    try {
        if (!before || !LoadImageFile(format, path, image) || image.IsEmpty() ||
            image.Width() <= 0 || image.Height() <= 0)
            return false;
    } catch (const CException&) {
        return false;
    }
    stamp = *before;
    return true;
}

std::optional<FileStamp> CBatchJob::stampOf(const std::string& path)
{
    struct stat status = {};
    if (stat(path.c_str(), &status) != 0)
        return std::nullopt;
    constexpr std::int64_t kNanoseconds = 1000000000;
    return FileStamp{status.st_dev, status.st_ino, status.st_size,
                     status.st_mtim.tv_sec * kNanoseconds + status.st_mtim.tv_nsec,
                     status.st_ctim.tv_sec * kNanoseconds + status.st_ctim.tv_nsec};
}

Result<std::unique_ptr<CFileReplacement>>
CBatchJob::writeResult(ImageFormat format, const std::string& path, CDibImage& image, int quality)
{
    auto file = std::make_unique<CFileReplacement>(path, Publishing::Separately);
    errno = 0;
    try {
        if (SaveImageFile(format, *file, image, quality, PngCompression::Fast))
            return file;
        return Error{Failure::WriteFile, path, errno, {}};
    } catch (const CFileException& exception) {
        return Error{Failure::FileAccess, exception.Path(), exception.Error(), {}};
    } catch (const CException& exception) {
        return Error{Failure::Library, path, 0, exception.ErrorText()};
    }
}

bool CBatchJob::publishResult(CFileReplacement& result)
{
    if (const int error = result.publish(); error != 0)
        return fail(Error{Failure::WriteFile, result.path(), error, {}});
    ++m_result.written;
    return true;
}

bool CBatchJob::writeImage(ImageFormat format, const std::string& path, CDibImage& image,
                           int quality)
{
    Result<std::unique_ptr<CFileReplacement>> result = writeResult(format, path, image, quality);
    return result ? publishResult(**result) : fail(result.error());
}

bool CBatchJob::trashSource(const std::string& path, const FileStamp& whenRead)
{
    Error reason{Failure::SourceChanged, path, 0, {}};
    if (stampOf(path) == whenRead) {
        const Outcome trashed = m_trash.moveToTrash(path);
        if (trashed)
            return true;
        reason = trashed.error();
    }
    if (m_result.keptSources++ == 0)
        m_result.trashError = reason;
    m_progress.onNotice("kept " + path +
                        ": it can't be moved to the trash: " + EnglishText(reason));
    return false;
}

bool CBatchJob::fail(Error error)
{
    m_result.outcome = BatchOutcome::Failed;
    m_result.error = std::move(error);
    m_result.failedSource = m_inHand;
    return false;
}

void CBatchJob::passOver(const std::string& path, const Error& reason)
{
    if (m_result.passedOver++ == 0)
        m_result.passOverReason = reason;
    m_progress.onNotice("kept " + path + ": " + EnglishText(reason));
}

BatchResult CBatchJob::walkResult() const
{
    BatchResult result = m_result;
    if (result.outcome == BatchOutcome::Finished && m_stop)
        result.outcome = BatchOutcome::Stopped;
    return result;
}
