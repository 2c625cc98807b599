#include "batch/average_job.h"

#include "batch/batch_names.h"
#include "batch/resample/resize_image.h"
#include "image/dib_image.h"

#include <algorithm>
#include <filesystem>

namespace {

struct CopySize
{
    ResizedCopy AverageJobSettings::*wanted;
    int width;
    int height;
};

constexpr CopySize kCopies[] = {
    {&AverageJobSettings::copy800x600, 800, 600},
    {&AverageJobSettings::copy1024x768, 1024, 768},
};

} // namespace

BatchStart CAverageJob::start(const AverageJobSettings& settings)
{
    m_settings = settings;
    if (settings.targetFile.empty())
        return BatchStart::NoTarget;
    const std::string folder = std::filesystem::path(settings.targetFile).parent_path().string();
    const BatchStart start = prepare(settings.sourceFolder, settings.sourceFormat, folder);
    if (start != BatchStart::Ready)
        return start;
    // A numbered name is free only when the copies' names are free too.
    if (settings.autoNumber == AutoNumber::Yes)
        m_settings.targetFile =
            NextFreeTargetName(settings.targetFile, [this](const std::string& candidate) {
                const std::vector<std::string> outputs = outputPaths(candidate);
                return std::any_of(outputs.begin(), outputs.end(), NameTaken);
            });
    // Without the trash to keep it, a source written over would be lost for good.
    if (m_settings.sources == SourceFiles::Keep) {
        for (const std::string& output : outputPaths(m_settings.targetFile)) {
            if (isSource(output))
                return refuse(BatchStart::TargetIsSource, output);
        }
    }
    return BatchStart::Ready;
}

std::vector<std::string> CAverageJob::outputPaths(const std::string& target) const
{
    std::vector<std::string> paths{target};
    const std::optional<ImageFormat> format = ImageFormatOfPath(target);
    if (!format)
        return paths;
    for (const CopySize& copy : kCopies) {
        if (m_settings.*copy.wanted == ResizedCopy::Yes)
            paths.push_back(ResizedCopyPath(target, *format, copy.width, copy.height));
    }
    return paths;
}

bool CAverageJob::takeSource(SourceWork& work)
{
    switch (m_sum.add(work.image)) {
    case SumAdded::Yes:
        break;
    case SumAdded::OverBudget:
        passOver(work.path, Error{Failure::SumsOverBudget,
                                  work.path,
                                  0,
                                  {},
                                  {std::to_string(m_sum.budgetBytes() >> 20)}});
        return true;
    case SumAdded::No:
        return fail(Error{Failure::NoMemoryToAverage, work.path, 0, {}});
    }
    m_summed.push_back({work.path, work.stamp});
    countUsed();
    return true;
}

BatchResult CAverageJob::finish(int jpegQuality)
{
    BatchResult result = walkResult();
    if (result.outcome != BatchOutcome::Failed && m_sum.empty()) {
        result.outcome = BatchOutcome::NothingRead; // also when stopped before any was read
        return result;
    }
    if (result.outcome != BatchOutcome::Finished)
        return result;
    if (writeResults(jpegQuality) && m_settings.sources == SourceFiles::MoveToTrash) {
        // A source an output took the name of went to the trash before it was written over.
        for (const SummedSource& source : m_summed) {
            if (!isOutput(source.path))
                trashSource(source.path, source.stamp);
        }
    }
    return walkResult();
}

bool CAverageJob::writeResults(int jpegQuality)
{
    const std::optional<ImageFormat> format = ImageFormatOfPath(m_settings.targetFile);
    if (!format)
        return false; // no writer for that name: nothing is made, and the sources stay
    CDibImage average;
    if (!m_sum.average(average))
        return fail(Error{Failure::NoMemoryToAverage, {}, 0, {}});
    if (!writeOutput(*format, m_settings.targetFile, average, jpegQuality))
        return false;
    for (const CopySize& copy : kCopies) {
        if (m_settings.*copy.wanted == ResizedCopy::No)
            continue;
        progress().onResizedCopy(copy.width, copy.height);
        CDibImage resized;
        ResizeAndCrop(average, resized, copy.width, copy.height);
        const std::string path =
            ResizedCopyPath(m_settings.targetFile, *format, copy.width, copy.height);
        if (resized.IsEmpty())
            return fail(Error{Failure::NoMemoryToMake, path, 0, {}});
        if (!writeOutput(*format, path, resized, jpegQuality))
            return false;
    }
    return true;
}

// An output may take the name of one of the sources, as a second run into the same folder does.
// When the sources go to the trash, that source goes there first, so that it is not written
// over for good; when the trash refuses it, nothing is written over it.
bool CAverageJob::writeOutput(ImageFormat format, const std::string& path, CDibImage& image,
                              int quality)
{
    if (m_settings.sources == SourceFiles::MoveToTrash) {
        for (const SummedSource& source : m_summed) {
            if (SameFile(source.path, path) && !trashSource(source.path, source.stamp))
                return fail(Error{Failure::SourceInTheWay, path, 0, {}});
        }
    }
    if (!writeImage(format, path, image, quality))
        return false;
    m_outputs.push_back(path);
    return true;
}

bool CAverageJob::isOutput(const std::string& path) const
{
    return std::any_of(m_outputs.begin(), m_outputs.end(),
                       [&path](const std::string& output) { return SameFile(path, output); });
}
