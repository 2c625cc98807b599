#include "batch/scale_job.h"

#include "batch/batch_names.h"
#include "batch/resample/resize_image.h"
#include "batch/scale_size.h"
#include "image/dib_image.h"

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
    const bool trash = m_settings.sources == SourceFiles::MoveToTrash;
    // A result that takes its own source's place would destroy it: the source goes to the trash
    // first, and when it can't, it is left alone and the result is dropped.
    if (trash && work.inPlace && !trashSource(work.path, work.stamp))
        return true;
    if (!publishResult(*work.result))
        return false;
    countUsed();
    if (trash && !work.inPlace)
        trashSource(work.path, work.stamp);
    return true;
}
