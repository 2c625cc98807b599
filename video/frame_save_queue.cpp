#include "video/frame_save_queue.h"

#include "platform/exception.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "video/decoded_picture.h"
#include "video/dib_frame_converter.h"

#include <cerrno>

namespace {

// How long the queue waits for its workers before the owner's events are handled again.
constexpr std::chrono::milliseconds kWaitInterval(10);

} // namespace

FrameSaveQueue::FrameSaveQueue(const StreamPicture& stream, const PictureOptions& options,
                               std::function<void()> whileWaiting)
    : m_width(ShownSizeOf(stream, options).width), m_height(ShownSizeOf(stream, options).height),
      m_whileWaiting(std::move(whileWaiting)),
      m_givenUp(std::make_shared<std::atomic<bool>>(false)),
      m_queue(DefaultWorkerCount(), 2 * static_cast<std::size_t>(DefaultWorkerCount()),
              [stream, options] {
                  return Workspace{std::make_unique<DibFrameConverter>(stream, options), {}};
              })
{}

FrameSaveQueue::~FrameSaveQueue()
{
    *m_givenUp = true;
}

CDibImage FrameSaveQueue::takeImage()
{
    CDibImage image;
    if (!m_spareImages.empty()) {
        image = std::move(m_spareImages.back());
        m_spareImages.pop_back();
    } else {
        image.Create(m_width, m_height, 24);
    }
    return image;
}

void FrameSaveQueue::push(FrameToSave frame)
{
    while (!m_queue.hasRoom())
        waitForNext();
    // A task must be copyable; the frame it saves is not.
    auto owned = std::make_shared<FrameToSave>(std::move(frame));
    m_queue.push([owned, givenUp = m_givenUp](Workspace& workspace) {
        if (*givenUp)
            return Saved{Outcome::GivenUp, nullptr, {}, std::move(owned->image)};
        return save(*owned, workspace);
    });
}

void FrameSaveQueue::publishSaved()
{
    while (std::optional<Saved> saved = m_queue.takeNext())
        publish(std::move(*saved));
}

void FrameSaveQueue::finish()
{
    while (!m_queue.isEmpty())
        waitForNext();
}

void FrameSaveQueue::waitForNext()
{
    if (m_whileWaiting)
        m_whileWaiting();
    m_queue.waitForNext(kWaitInterval);
    publishSaved();
}

// On a worker: the frame into pixels, unless it came as pixels, and into a file beside its place.
FrameSaveQueue::Saved FrameSaveQueue::save(FrameToSave& frame, Workspace& workspace)
{
    CDibImage* image = &frame.image;
    if (image->IsEmpty()) {
        CDibImage& own = workspace.image;
        if (own.IsEmpty() && workspace.converter->isValid())
            own.Create(workspace.converter->width(), workspace.converter->height(), 24);
        if (!frame.pictures.picture || own.IsEmpty() ||
            !workspace.converter->convertInto(frame.pictures, own.PixelData()))
            return {Outcome::NothingToSave, nullptr, {}, {}};
        frame.pictures = {}; // the decoder may have its buffers back
        image = &own;
    }
    auto file = std::make_unique<CFileReplacement>(frame.path, Publishing::Separately);
    Saved saved{Outcome::Written, nullptr, {}, {}};
    errno = 0;
    try {
        if (SaveImageFile(frame.format, *file, *image, frame.quality, PngCompression::Fast,
                          frame.provenance ? &*frame.provenance : nullptr))
            saved.file = std::move(file);
        else
            saved = {
                Outcome::Failed, nullptr, Error{Failure::WriteFile, frame.path, errno, {}}, {}};
    } catch (const CFileException& error) {
        saved = {Outcome::Failed,
                 nullptr,
                 Error{Failure::FileAccess, error.Path(), error.Error(), {}},
                 {}};
    } catch (const CException& error) {
        saved = {Outcome::Failed,
                 nullptr,
                 Error{Failure::Library, frame.path, 0, error.ErrorText()},
                 {}};
    } catch (const std::bad_alloc&) {
        saved = {Outcome::Failed, nullptr, Error{Failure::WriteFile, frame.path, ENOMEM, {}}, {}};
    }
    saved.image = std::move(frame.image);
    return saved;
}

// A file that is not put in place is removed with its Saved.
void FrameSaveQueue::publish(Saved saved)
{
    if (!saved.image.IsEmpty() && m_spareImages.size() < 4)
        m_spareImages.push_back(std::move(saved.image));
    if (m_failed)
        return;
    if (saved.outcome == Outcome::Written) {
        if (const int error = saved.file->publish(); error != 0) {
            m_failed = true;
            m_error = Error{Failure::WriteFile, saved.file->path(), error, {}};
        } else {
            ++m_saved;
            if (m_onPublished)
                m_onPublished(saved.file->path());
        }
    } else if (saved.outcome == Outcome::NothingToSave) {
        ++m_undecodable;
    } else if (saved.outcome == Outcome::Failed) {
        m_failed = true;
        m_error = std::move(saved.error);
    }
    if (m_failed)
        *m_givenUp = true;
}
