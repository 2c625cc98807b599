// The Scale and Average tools without windows: the same jobs as the dialogs, so the same files.

#include "batch/average_job.h"
#include "batch/scale_job.h"
#include "batch/scale_size.h"
#include "cli/cli_support.h"
#include "cli/commands.h"
#include "desktop/desktop_trash.h"
#include "image/image_format.h"

#include <cstdio>
#include <unistd.h>

namespace {

const char kScaleUsage[] = "scale SRC_FOLDER TARGET_FOLDER --from jpg|bmp|png --to jpg|bmp|png "
                           "--size x1.5|x2|x3|640x480|800x600|1024x768 [--quality Q] "
                           "[--trash-sources]";
const char kAverageUsage[] = "average SRC_FOLDER TARGET_FILE --from jpg|bmp|png [--no-800x600] "
                             "[--no-1024x768] [--auto-number] [--quality Q] [--trash-sources]";

// Shows which file a run is at on standard error when that is a terminal, names the files it
// goes past, and stops the run at Ctrl-C.
class ConsoleBatchProgress : public BatchProgress
{
public:
    ConsoleBatchProgress() : m_shown(isatty(STDERR_FILENO) != 0) {}
    ~ConsoleBatchProgress() override { endLine(); }
    ConsoleBatchProgress(const ConsoleBatchProgress&) = delete;
    ConsoleBatchProgress& operator=(const ConsoleBatchProgress&) = delete;

    void setJob(CBatchJob& job) { m_job = &job; }

    void onFile(int position, const std::string& path) override
    {
        if (Interrupted())
            m_job->requestStop();
        if (!m_shown)
            return;
        std::fprintf(stderr, "\rimage %d of %d: %s\033[K", position, m_job->fileCount(),
                     Printable(path).c_str());
        std::fflush(stderr);
        m_lineOpen = true;
    }

    void onWait() override
    {
        if (Interrupted())
            m_job->requestStop();
    }

    void onNotice(const std::string& text) override
    {
        endLine();
        Fail(text);
    }

    void endLine()
    {
        if (m_lineOpen)
            std::fputc('\n', stderr);
        m_lineOpen = false;
    }

private:
    bool m_shown;
    bool m_lineOpen = false;
    CBatchJob* m_job = nullptr; // not owned; the job that reports here
};

ImageFormat formatOption(const CommandLine& line, const std::string& name)
{
    const auto found = line.options.find(name);
    if (found == line.options.end())
        throw UsageError(name + " jpg, bmp or png is needed");
    const std::optional<ImageFormat> format = ImageFormatByName(found->second);
    if (!format)
        throw UsageError(name + " takes jpg, bmp or png");
    return *format;
}

int sizeOption(const CommandLine& line)
{
    const auto found = line.options.find("--size");
    const std::optional<int> size =
        found == line.options.end() ? std::nullopt : ScaleSizeByName(found->second);
    if (!size)
        throw UsageError("--size takes x1.5, x2, x3, 640x480, 800x600 or 1024x768");
    return *size;
}

bool has(const CommandLine& line, const char* flag)
{
    return line.options.count(flag) != 0;
}

SourceFiles sourceFiles(const CommandLine& line)
{
    return has(line, "--trash-sources") ? SourceFiles::MoveToTrash : SourceFiles::Keep;
}

int quality(const CommandLine& line)
{
    return IntegerOption(line, "--quality", 1, 100).value_or(kDefaultBatchJpegQuality);
}

bool started(BatchStart start, const CBatchJob& job)
{
    switch (start) {
    case BatchStart::Ready:
        return true;
    case BatchStart::NoTarget:
        // The command line refuses an empty name before a job is made.
        Fail("no target was named");
        return false;
    case BatchStart::NoFiles:
        Fail("Sorry, can't find any valid file in the source folder.");
        return false;
    case BatchStart::TargetFolderFailed:
        Fail("Sorry, can't create target folder. Please check it. (" + job.startError() + ")");
        return false;
    case BatchStart::TargetIsSource:
        Fail("Sorry, " + job.startError() +
             " is one of the source files, and writing the result there would lose it. Choose "
             "another target, or add --trash-sources to move the sources to the trash first.");
        return false;
    }
    return false;
}

// Reports how the run ended, as the dialogs tell it, and gives the exit status.
int ended(const BatchResult& result, const std::string& summary)
{
    if (result.outcome == BatchOutcome::Failed)
        return Fail(EnglishText(*result.error));
    if (result.outcome == BatchOutcome::NothingRead)
        return Fail("Average failed.");
    std::fprintf(stderr, "%s%s\n", Printable(summary).c_str(),
                 result.outcome == BatchOutcome::Stopped ? " (stopped)" : "");
    int status = result.outcome == BatchOutcome::Stopped ? 1 : 0;
    if (result.passedOver > 0)
        status = Fail(std::to_string(result.passedOver) +
                      " source file(s) were left alone without a result: " +
                      EnglishText(*result.passOverReason));
    if (result.keptSources > 0)
        status = Fail(std::to_string(result.keptSources) +
                      " source file(s) could not be moved to the trash and stay where they were: " +
                      EnglishText(*result.trashError));
    return status;
}

std::string plural(int count, const char* noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

} // namespace

int RunScale(const CommandLine& line)
{
    ExpectArguments(line, 2, kScaleUsage);
    const ScaleJobSettings settings{line.arguments[0], formatOption(line, "--from"),
                                    line.arguments[1], formatOption(line, "--to"),
                                    sizeOption(line),  quality(line),
                                    sourceFiles(line)};
    CDesktopTrash trash;
    ConsoleBatchProgress progress;
    CScaleJob job(trash, progress);
    progress.setJob(job);
    if (!started(job.start(settings), job))
        return 1;
    CatchInterrupt();
    job.run();
    const BatchResult result = job.finish();
    progress.endLine();
    return ended(result, plural(result.written, "image") + " written to " + settings.targetFolder);
}

int RunAverage(const CommandLine& line)
{
    ExpectArguments(line, 2, kAverageUsage);
    const std::string& target = line.arguments[1];
    if (!ImageFormatOfPath(target))
        throw UsageError("Sorry, the valid extension only can be jpg, png or bmp.");
    const auto copy = [&line](const char* flag) {
        return has(line, flag) ? ResizedCopy::No : ResizedCopy::Yes;
    };
    const AverageJobSettings settings{line.arguments[0],
                                      formatOption(line, "--from"),
                                      target,
                                      copy("--no-800x600"),
                                      copy("--no-1024x768"),
                                      has(line, "--auto-number") ? AutoNumber::Yes : AutoNumber::No,
                                      sourceFiles(line)};
    const int jpegQuality = quality(line);
    CDesktopTrash trash;
    ConsoleBatchProgress progress;
    CAverageJob job(trash, progress);
    progress.setJob(job);
    if (!started(job.start(settings), job))
        return 1;
    CatchInterrupt();
    job.run();
    const BatchResult result = job.finish(jpegQuality);
    progress.endLine();
    const std::string summary =
        result.written > 0 ? plural(result.used, "image") + " averaged into " + job.targetFile()
                           : "nothing written";
    return ended(result, summary);
}
