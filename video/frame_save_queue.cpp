#include "video/frame_save_queue.h"

#include "platform/exception.h"
#include "platform/file_replacement.h"
#include "video/decoded_picture.h"
#include "video/dib_frame_converter.h"
#include "video/frame_export.h"

#include <algorithm>
#include <cerrno>

FrameSaveQueue::FrameSaveQueue(int width, int height, int workers, int capacity)
    : m_width(width), m_height(height), m_capacity(static_cast<std::size_t>(std::max(capacity, 1)))
{
    for (int i = 0; i < std::max(workers, 1); ++i)
        m_workers.emplace_back([this] { work(); });
}

FrameSaveQueue::~FrameSaveQueue()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_waiting.clear();
    }
    m_workWaiting.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
}

int FrameSaveQueue::defaultWorkers()
{
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp(cores, 1u, 4u));
}

CDibImage FrameSaveQueue::takeImage()
{
    CDibImage image;
    {
        std::lock_guard lock(m_mutex);
        if (!m_spareImages.empty()) {
            image = std::move(m_spareImages.back());
            m_spareImages.pop_back();
        }
    }
    if (image.IsEmpty())
        image.Create(m_width, m_height, 24);
    return image;
}

bool FrameSaveQueue::hasRoom() const
{
    std::lock_guard lock(m_mutex);
    return m_waiting.size() < m_capacity;
}

void FrameSaveQueue::waitForRoom(std::chrono::milliseconds most)
{
    std::unique_lock lock(m_mutex);
    m_progress.wait_for(lock, most, [this] { return m_waiting.size() < m_capacity; });
}

void FrameSaveQueue::push(FrameToSave frame)
{
    {
        std::lock_guard lock(m_mutex);
        m_waiting.push_back({m_nextIndex++, std::move(frame)});
    }
    m_workWaiting.notify_one();
}

bool FrameSaveQueue::isIdle() const
{
    std::lock_guard lock(m_mutex);
    return m_waiting.empty() && m_busy == 0;
}

void FrameSaveQueue::waitUntilIdle(std::chrono::milliseconds most)
{
    std::unique_lock lock(m_mutex);
    m_progress.wait_for(lock, most, [this] { return m_waiting.empty() && m_busy == 0; });
}

int FrameSaveQueue::saved() const
{
    std::lock_guard lock(m_mutex);
    return m_saved;
}

bool FrameSaveQueue::failed() const
{
    std::lock_guard lock(m_mutex);
    return m_failed;
}

std::string FrameSaveQueue::error() const
{
    std::lock_guard lock(m_mutex);
    return m_error;
}

void FrameSaveQueue::work()
{
    // Each worker turns pictures into pixels with a converter and an image of its own.
    DibFrameConverter converter(m_width, m_height);
    CDibImage ownImage;
    for (;;) {
        Waiting next;
        bool giveUp = false;
        {
            std::unique_lock lock(m_mutex);
            m_workWaiting.wait(lock, [this] { return m_stopping || !m_waiting.empty(); });
            if (m_waiting.empty())
                return;
            next = std::move(m_waiting.front());
            m_waiting.pop_front();
            ++m_busy;
            giveUp = m_failed || m_stopping;
        }
        m_progress.notify_all();
        Saved saved = giveUp ? Saved{} : save(next.frame, ownImage, converter);
        next.frame.picture = nullptr; // the decoder may have its buffer back
        finish(next.index, std::move(saved), std::move(next.frame.image));
    }
}

FrameSaveQueue::Saved FrameSaveQueue::save(FrameToSave& frame, CDibImage& ownImage,
                                           DibFrameConverter& converter) const
{
    CDibImage* image = &frame.image;
    if (image->IsEmpty()) {
        if (ownImage.IsEmpty())
            ownImage.Create(m_width, m_height, 24);
        if (!frame.picture || ownImage.IsEmpty() ||
            !converter.convertInto(*frame.picture->frame, ownImage.PixelData()))
            return {Outcome::NothingToSave, nullptr, {}};
        image = &ownImage;
    }
    auto file = std::make_unique<CFileReplacement>(frame.path, Publishing::Separately);
    errno = 0;
    try {
        if (SaveImageFile(frame.format, *file, *image, frame.quality, PngCompression::Fast))
            return {Outcome::Written, std::move(file), {}};
        return {Outcome::Failed, nullptr, CantWriteFileText(frame.path, errno)};
    } catch (const CException& error) {
        return {Outcome::Failed, nullptr, error.ErrorText()};
    }
}

void FrameSaveQueue::finish(int index, Saved saved, CDibImage image)
{
    {
        std::lock_guard lock(m_mutex);
        --m_busy;
        if (!image.IsEmpty() && m_spareImages.size() < m_capacity)
            m_spareImages.push_back(std::move(image));
        m_finished.emplace(index, std::move(saved));
        publishInOrder();
    }
    m_progress.notify_all();
}

// Puts the finished files in place as long as every one before them is. A file that is not
// published is removed with its Saved.
void FrameSaveQueue::publishInOrder()
{
    for (auto next = m_finished.find(m_nextToPublish); next != m_finished.end();
         next = m_finished.find(m_nextToPublish)) {
        Saved& saved = next->second;
        if (!m_failed && saved.outcome == Outcome::Written) {
            if (const int error = saved.file->publish(); error != 0)
                fail(CantWriteFileText(saved.file->path(), error));
            else
                ++m_saved;
        } else if (!m_failed && saved.outcome == Outcome::Failed) {
            fail(std::move(saved.error));
        }
        m_finished.erase(next);
        ++m_nextToPublish;
    }
}

void FrameSaveQueue::fail(std::string error)
{
    m_failed = true;
    m_error = std::move(error);
}
