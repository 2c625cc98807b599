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

bool CScaleJob::takeImage(const std::string& path, const CDibImage& image)
{
    const auto size = ScaleTargetSize(m_settings.sizeIndex, image.Width(), image.Height());
    if (!size)
        return true; // no size chosen: nothing is made, and the source stays
    const std::string target =
        ScaleTargetPath(m_settings.targetFolder, path, m_settings.targetFormat);
    const bool trash = m_settings.sources == SourceFiles::MoveToTrash;
    // A result that takes its own source's place would destroy it: the source goes to the trash
    // first, and when it can't, it is left alone.
    const bool inPlace = SameFile(path, target);
    if (trash && inPlace && !trashSource(path, sourceStamp()))
        return true;

    CDibImage result;
    ResizeAndCrop(image, result, size->width, size->height);
    if (result.IsEmpty())
        return fail("Sorry, there is not enough memory to scale " + path + ".");
    if (!writeImage(m_settings.targetFormat, target, result, m_settings.jpegQuality))
        return false;
    countUsed();
    if (trash && !inPlace)
        trashSource(path, sourceStamp());
    return true;
}
