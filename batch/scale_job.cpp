#include "batch/scale_job.h"

#include "batch/batch_names.h"
#include "batch/resample/resize_image.h"
#include "batch/scale_size.h"
#include "image/dib_image.h"

#include "platform/available_memory.h"

#include <algorithm>
#include <filesystem>

namespace {

// A result may well be larger than any picture the program reads (a large photo at three times
// its size), but never so large that a small hostile file could make the program ask for more.
constexpr std::uint64_t kMostResultBytes = std::uint64_t(4) << 30;

// What one result may take: the ceiling, or half of what the machine can spare, leaving the rest
// to the other workers' results and to everything else.
std::uint64_t resultBudget()
{
    return std::min<std::uint64_t>(kMostResultBytes, AvailableMemoryBytes() / 2);
}

std::string mebibytes(std::uint64_t bytes)
{
    return std::to_string((bytes + (1 << 20) - 1) >> 20) + " MiB";
}

// Why no result of that size can be made, or nothing when it can.
std::optional<Error> whyNoResult(const std::string& path, ImageFormat format, ImageSize size,
                                 std::uint64_t bytes)
{
    const std::string result = std::to_string(size.width) + "x" + std::to_string(size.height);
    if (!ImageFormatHolds(format, size.width, size.height))
        return Error{Failure::ResultOverFormat,
                     path,
                     0,
                     {},
                     {result, std::string(imageFormatInfo(format).name)}};
    if (const std::uint64_t budget = resultBudget(); bytes > budget)
        return Error{
            Failure::ResultOverBudget, path, 0, {}, {result, mebibytes(bytes), mebibytes(budget)}};
    return std::nullopt;
}

} // namespace

BatchStart CScaleJob::start(const ScaleJobSettings& settings)
{
    m_settings = settings;
    if (settings.targetFolder.empty())
        return BatchStart::NoTarget;
    return prepare(settings.sourceFolder, settings.sourceFormat, settings.targetFolder);
}

void CScaleJob::prepareSource(SourceWork& work)
{
    work.target = ScaleTargetPath(m_settings.targetFolder, work.path, m_settings.targetFormat);
    work.inPlace = SameFile(work.path, work.target);
}

// On a worker.
void CScaleJob::makeResult(SourceWork& work) const
{
    const auto size =
        ScaleTargetSize(m_settings.sizeIndex, work.image.Width(), work.image.Height());
    if (!size)
        return; // no size chosen: nothing is made
    const std::uint64_t bytes =
        ResizeAndCropBytes(work.image.Width(), work.image.Height(), size->width, size->height);
    work.passOver = whyNoResult(work.path, m_settings.targetFormat, *size, bytes);
    if (work.passOver)
        return;
    CDibImage result;
    ResizeAndCrop(work.image, result, size->width, size->height, resultBudget());
    work.image.Free();
    if (result.IsEmpty()) {
        work.passOver = Error{Failure::ResultTooLarge,
                              work.path,
                              0,
                              {},
                              {std::to_string(size->width) + "x" + std::to_string(size->height)}};
        return;
    }
    Result<std::unique_ptr<CFileReplacement>> written =
        writeResult(m_settings.targetFormat, work.target, result, m_settings.jpegQuality);
    if (written)
        work.result = std::move(*written);
    else
        work.error = written.error();
}

bool CScaleJob::takeSource(SourceWork& work)
{
    if (work.passOver) {
        passOver(work.path, *work.passOver);
        return true;
    }
    if (!work.result && !work.error)
        return true; // nothing made, and the source stays
    if (!work.result)
        return fail(*work.error);
    if (takesAnotherName(work)) {
        passOver(work.path, Error{Failure::ResultNameTaken, work.target, 0, {}});
        return true;
    }
    const bool trash = m_settings.sources == SourceFiles::MoveToTrash;
    // A result that takes its own source's place would destroy it: the source goes to the trash
    // first, and when it can't, it is left alone and the result is dropped.
    if (trash && work.inPlace && !trashSource(work.path, work.stamp))
        return true;
    if (!publishResult(*work.result))
        return false;
    countUsed();
    m_targets.insert(work.target);
    if (trash && !work.inPlace)
        trashSource(work.path, work.stamp);
    return true;
}

// Names are matched without regard to case and results get a lower-case extension, so "a.JPG"
// and "a.jpg" make the same name: a result never replaces another source, nor an earlier result.
bool CScaleJob::takesAnotherName(const SourceWork& work) const
{
    if (m_targets.count(work.target) > 0)
        return true;
    const std::filesystem::path target(work.target);
    return !work.inPlace && m_settings.targetFormat == m_settings.sourceFormat &&
           SameFile(target.parent_path().string(), m_settings.sourceFolder) &&
           std::filesystem::exists(target);
}
