#include "source/background_open.h"

#include "source/frame_display.h"
#include "source/frame_source_owner.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;

// An open that reads no file through and is quicker than this (an index at hand, a cached frame
// table) shows no progress and no first picture.
constexpr auto kQuietOpen = 80ms;
// How often the owner is called while it waits.
constexpr auto kOwnerInterval = 20ms;

// The first picture of the file, decoded on a thread of its own.
class FirstPictureThread
{
public:
    FirstPictureThread(const std::string& path, const PictureOptions& options)
    {
        m_reader.setPictureOptions(options);
        m_thread = std::thread([this, path] {
            m_opened = static_cast<bool>(m_reader.openFirstPicture(path));
            m_finished = true;
        });
    }
    ~FirstPictureThread() { m_thread.join(); }
    FirstPictureThread(const FirstPictureThread&) = delete;
    FirstPictureThread& operator=(const FirstPictureThread&) = delete;

    // The reader holding the picture once it is decoded; null until then or when there is none.
    VideoReader* reader() { return m_finished && m_opened ? &m_reader : nullptr; }

private:
    VideoReader m_reader;
    std::atomic<bool> m_finished = false;
    bool m_opened = false; // written before m_finished
    std::thread m_thread;
};

void showFirstPicture(VideoReader& first, FrameSourceOwner& owner, FrameDisplay& display)
{
    const PixelSize frameSize{first.facts().width, first.facts().height};
    owner.prepareFirstPicture(frameSize);
    if (const std::optional<PixelSize> shown = display.screenPictureSize(frameSize)) {
        if (auto picture = first.screenPicture(shown->width, shown->height))
            display.drawScreenPicture(std::move(picture));
    }
}

} // namespace

Outcome OpenWhileOwnerWaits(VideoReader& reader, const std::string& path, WantFrames wantFrames,
                            FrameSourceOwner& owner, FrameDisplay* display)
{
    VideoReader opening = std::move(reader);
    const PictureOptions options = opening.pictureOptions();
    std::mutex mutex;
    std::condition_variable changed;
    bool finished = false;
    // A read through the file waits at its start until the owner has been told of it once, so
    // that the owner hears of every read, however short, and may stop it there.
    bool readStarted = false;
    bool ownerTold = false;
    std::atomic<int> readPermille = 0;
    std::atomic<bool> stop = false;
    Outcome outcome = Done{};

    std::thread worker([&] {
        Outcome opened = opening.open(path, wantFrames, [&](int permille) {
            readPermille = permille;
            if (!readStarted) {
                std::unique_lock lock(mutex);
                readStarted = true;
                changed.notify_all();
                changed.wait(lock, [&] { return ownerTold; });
            }
            return !stop;
        });
        const std::lock_guard lock(mutex);
        outcome = std::move(opened);
        finished = true;
        changed.notify_all();
    });

    const auto start = std::chrono::steady_clock::now();
    std::optional<FirstPictureThread> first;
    bool firstShown = false;
    std::unique_lock lock(mutex);
    for (;;) {
        changed.wait_for(lock, kOwnerInterval,
                         [&] { return finished || (readStarted && !ownerTold); });
        if (finished)
            break;
        if (!readStarted && std::chrono::steady_clock::now() - start < kQuietOpen)
            continue;
        lock.unlock();
        if (!first && wantFrames == WantFrames::Yes && display)
            first.emplace(path, options);
        if (first && !firstShown && first->reader()) {
            showFirstPicture(*first->reader(), owner, *display);
            firstShown = true;
        }
        if (!stop && !owner.showReadProgress(std::clamp(readPermille.load(), 0, 1000)))
            stop = true;
        lock.lock();
        ownerTold = true;
        changed.notify_all();
    }
    lock.unlock();
    worker.join();
    reader = std::move(opening);
    return outcome;
}
