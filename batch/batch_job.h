#pragma once

#include "batch/srch_dir.h"
#include "image/dib_image.h"
#include "image/image_format.h"
#include "platform/error.h"
#include "platform/file_replacement.h"
#include "platform/ordered_work_queue.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class TrashCan;

// Whether a run moves its sources to the trash once everything made from them is written.
enum class SourceFiles
{
    Keep,
    MoveToTrash,
};

// What the one who runs a batch job hears while it runs.
class BatchProgress
{
public:
    virtual ~BatchProgress() = default;

    // The job is about to take up the position-th file of the run, counted from 1. The caller
    // may handle its events here and so ask the job to stop, which the job looks at next.
    virtual void onFile(int position, const std::string& path) = 0;
    // A file the run went past: it could not be read, or it could not go to the trash.
    virtual void onNotice(const std::string&) {}
    // The Average result is being made into a copy of this size.
    virtual void onResizedCopy(int, int) {}
    // The run waits for files still being worked on by other threads, at least every few
    // milliseconds; the caller may handle its events here. A stop asked for now ends the walk,
    // but the files already taken up are finished.
    virtual void onWait() {}
};

enum class BatchStart
{
    Ready,
    NoTarget,           // no target folder or file was named
    NoFiles,            // the source folder holds no file of the source type
    TargetFolderFailed, // the folder to write into could not be created; see startError
    TargetIsSource,     // a file to be written is a source that would be lost; see startError
};

enum class BatchOutcome
{
    Finished,    // every file was taken up
    Stopped,     // the caller stopped the run
    Failed,      // a result could not be written or made; error says why
    NothingRead, // the Average run found no file it could read
};

// How a run ended, with everything its caller must tell the user.
struct BatchResult
{
    BatchOutcome outcome = BatchOutcome::Finished;
    std::optional<Error> error;          // why the run failed
    std::string failedSource;            // the source whose result failed, when it was one
    int written = 0;                     // files written
    int used = 0;                        // sources that went into the results
    int skipped = 0;                     // sources that could not be read, left in place
    int passedOver = 0;                  // sources read but left in place without a result
    std::optional<Error> passOverReason; // why the first of those was
    int keptSources = 0;             // sources that could not be moved to the trash, left in place
    std::optional<Error> trashError; // why the first of those could not
};

// What a source file was when it was read: enough to tell later whether it is still the same
// file with the same contents.
struct FileStamp
{
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modified = 0; // ns
    std::int64_t changed = 0;  // ns

    bool operator==(const FileStamp&) const = default;
};

// What becomes of one source file: read on the run's thread, made into a result on a worker
// thread, then handed back to the run's thread in the order of the walk.
struct SourceWork
{
    std::string path;
    FileStamp stamp;                          // what the source was when it was read
    CDibImage image;                          // the source as it was read
    std::string target;                       // where the result goes
    bool inPlace = false;                     // the result takes the source's own name
    std::unique_ptr<CFileReplacement> result; // written beside the target, not yet in place
    std::optional<Error> error;               // why no result could be written: the run ends
    std::optional<Error> passOver; // why no result can be made of this source: the run goes on
};

// The part of a batch tool's run that both tools share: the source files are counted, then
// walked one at a time (never those of sub-folders), each read with the source type's reader
// and handed to the tool, whose results are made on worker threads while the walk goes on and
// come back in the order of the walk. Files that can't be read are passed over and left in
// place. The caller hears of each file before it is taken up and can stop the run there; the
// files already taken up are finished first.
class CBatchJob : private BatchFileOwner
{
public:
    CBatchJob(TrashCan& trash, BatchProgress& progress) : m_trash(trash), m_progress(progress) {}
    ~CBatchJob() override = default;
    CBatchJob(const CBatchJob&) = delete;
    CBatchJob& operator=(const CBatchJob&) = delete;

    // The number of source files counted at the start.
    int fileCount() const { return m_fileCount; }
    const std::string& startError() const { return m_startError; }

    // Walks the source folder, handing each file to the tool, until every file was taken up,
    // the caller stopped the run or a result could not be written. Every file taken up is
    // finished when it returns.
    void run();
    // The run ends before the next file; the file in hand is finished first.
    void requestStop() { m_stop = true; }

protected:
    // Counts the source files and creates targetFolder (when not empty).
    BatchStart prepare(const std::string& sourceFolder, ImageFormat sourceFormat,
                       const std::string& targetFolder);
    // The run does not start, for a reason that startError() then names.
    BatchStart refuse(BatchStart why, std::string error);
    // Whether path is a file that the walk takes as a source.
    bool isSource(const std::string& path) const;

    // The threads that make results; with none, each source is taken as soon as it is read.
    virtual int workerCount() const { return DefaultWorkerCount(); }
    // On the run's thread, once the source was read into work.image.
    virtual void prepareSource(SourceWork&) {}
    // On a worker: makes the tool's result. Must touch nothing but work and the job's settings.
    virtual void makeResult(SourceWork&) const {}
    // On the run's thread, in the order of the walk: does what is left of the tool's work on a
    // source that was read. False ends the run.
    virtual bool takeSource(SourceWork& work) = 0;

    // Writes image into a file beside path, to be put in place with publishResult. SaveBmp
    // keeps the header up to date, hence the image is not const.
    static Result<std::unique_ptr<CFileReplacement>>
    writeResult(ImageFormat format, const std::string& path, CDibImage& image, int quality);
    // Puts a result in place and counts it; a failure ends the run with its reason.
    bool publishResult(CFileReplacement& result);
    // Writes image in place at once; a failure ends the run with its reason.
    bool writeImage(ImageFormat format, const std::string& path, CDibImage& image, int quality);
    // Moves a source to the trash; when it can't go, it is counted and the caller told. A source
    // that changed since it was read (replaced by another file, written to) stays: what would go
    // to the trash is not what went into the results.
    bool trashSource(const std::string& path, const FileStamp& whenRead);
    // Ends the run with its reason; the source in hand, if any, is named as the one that failed.
    bool fail(Error error);
    // Leaves a source that was read in place without a result, the caller told why; the run
    // goes on.
    void passOver(const std::string& path, const Error& reason);
    // A source went into the results.
    void countUsed() { ++m_result.used; }

    BatchProgress& progress() { return m_progress; }
    // The result as it stands after the walk: Stopped when the caller stopped it.
    BatchResult walkResult() const;

private:
    struct NoWorkspace
    {
    };
    using WorkQueue = OrderedWorkQueue<SourceWork, NoWorkspace>;

    int processFile(const std::string& path) override;
    static bool readSource(const std::string& path, ImageFormat format, CDibImage& image,
                           FileStamp& stamp);
    static std::optional<FileStamp> stampOf(const std::string& path);
    void waitForNext();
    void takeFinished();
    bool take(SourceWork& work);

    TrashCan& m_trash;
    BatchProgress& m_progress;
    std::string m_sourceFolder;
    ImageFormat m_sourceFormat = ImageFormat::Bmp;
    int m_fileCount = 0;
    int m_position = 0;
    bool m_stop = false;
    std::string m_startError;
    std::string m_inHand; // the source whose work is being taken
    BatchResult m_result;
    std::unique_ptr<WorkQueue> m_queue; // while run() runs
};

// Whether two paths name one file (both must exist).
bool SameFile(const std::string& a, const std::string& b);
