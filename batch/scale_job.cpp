#include "batch/scale_job.h"

#include "batch/batch_names.h"
#include "batch/resample/resize_image.h"
#include "batch/scale_size.h"
#include "image/dib_image.h"

#include <filesystem>

BatchStart CScaleJob::start(const ScaleJobSettings& settings)
{
    m_settings = settings;
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
    CDibImage result;
    ResizeAndCrop(work.image, result, size->width, size->height);
    work.image.Free();
    if (result.IsEmpty()) {
        work.error = "Sorry, there is not enough memory to scale " + work.path + ".";
        return;
    }
    work.result = writeResult(m_settings.targetFormat, work.target, result, m_settings.jpegQuality,
                              work.error);
}

bool CScaleJob::takeSource(SourceWork& work)
{
    if (!work.result && work.error.empty())
        return true; // nothing made, and the source stays
    if (!work.result)
        return fail(std::move(work.error));
    if (takesAnotherName(work)) {
        progress().onNotice("kept " + work.path + ": its result would take the name " +
                            work.target + ", which is another file of this run");
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
