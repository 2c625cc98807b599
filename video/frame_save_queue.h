#pragma once

#include "image/dib_image.h"
#include "image/image_format.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CFileReplacement;
class DibFrameConverter;
struct DecodedPicture;

// A frame that a recording hands over to be saved: where, how, and either the frame's pixels,
// copied from the picture on the screen, or the decoder's picture itself, which the worker that
// saves it turns into pixels.
struct FrameToSave
{
    std::string path;
    ImageFormat format = ImageFormat::Bmp;
    int quality = 75;
    CDibImage image;
    std::shared_ptr<const DecodedPicture> picture;
};

// Saves a recording's frames on worker threads while the recording loop decodes and draws the
// next ones. Files appear whole and in the order the frames were handed over: each is written
// beside its place and takes it only once every file before it has; after a failure no later
// file appears. At most `capacity` frames wait, so memory stays bounded.
//
// Only one thread hands frames over and asks how the saving goes.
class FrameSaveQueue
{
public:
    FrameSaveQueue(int width, int height, int workers, int capacity);
    // Gives up the frames still waiting and waits for those being saved; none of their files
    // appears.
    ~FrameSaveQueue();
    FrameSaveQueue(const FrameSaveQueue&) = delete;
    FrameSaveQueue& operator=(const FrameSaveQueue&) = delete;

    // An image of the frames' size to copy a frame's pixels into, one that an earlier frame was
    // saved from when there is one.
    CDibImage takeImage();
    bool hasRoom() const;
    // Returns when there is room, or after `most` at the latest.
    void waitForRoom(std::chrono::milliseconds most);
    // Hands a frame over; there must be room.
    void push(FrameToSave frame);
    // Whether every frame handed over is saved or given up.
    bool isIdle() const;
    // Returns when every frame is saved or given up, or after `most` at the latest.
    void waitUntilIdle(std::chrono::milliseconds most);

    // Files that have taken their places.
    int saved() const;
    // Why a file could not be saved; once one could not, the later ones are given up.
    bool failed() const;
    std::string error() const;

    // The workers that help on this machine.
    static int defaultWorkers();

private:
    enum class Outcome
    {
        Written,
        NothingToSave, // the picture could not be turned into pixels
        Failed,
        GivenUp,
    };
    struct Saved
    {
        Outcome outcome = Outcome::GivenUp;
        std::unique_ptr<CFileReplacement> file; // written, waiting for its turn
        std::string error;
    };
    struct Waiting
    {
        int index = 0;
        FrameToSave frame;
    };

    void work();
    Saved save(FrameToSave& frame, CDibImage& ownImage, DibFrameConverter& converter) const;
    void finish(int index, Saved saved, CDibImage image);
    void publishInOrder();
    void fail(std::string error);

    const int m_width;
    const int m_height;
    const std::size_t m_capacity;

    mutable std::mutex m_mutex;
    std::condition_variable m_workWaiting; // for the workers
    std::condition_variable m_progress;    // for the thread that hands frames over
    std::deque<Waiting> m_waiting;
    std::map<int, Saved> m_finished; // by index, until every earlier one is published
    std::vector<CDibImage> m_spareImages;
    int m_nextIndex = 0;
    int m_nextToPublish = 0;
    int m_busy = 0;
    int m_saved = 0;
    bool m_failed = false;
    std::string m_error;
    bool m_stopping = false;

    std::vector<std::thread> m_workers;
};
