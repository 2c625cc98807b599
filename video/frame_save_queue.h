#pragma once

#include "image/dib_image.h"
#include "image/image_format.h"
#include "image/image_provenance.h"
#include "platform/error.h"
#include "platform/ordered_work_queue.h"
#include "video/picture_options.h"
#include "video/picture_window.h"
#include "video/stream_picture.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CFileReplacement;
class DibFrameConverter;

// A frame that a recording hands over to be saved: where, how, and either the frame's pixels,
// copied from the picture on the screen, or the decoder's picture itself (with its neighbours
// where the conversion needs them), which the worker that saves it turns into pixels.
struct FrameToSave
{
    std::string path;
    ImageFormat format = ImageFormat::Bmp;
    int quality = kDefaultJpegQuality;
    CDibImage image;
    PictureWindow pictures;
    std::optional<ImageProvenance> provenance; // for the files that have room for it
};

// Saves a recording's frames on worker threads while the recording loop decodes and draws the
// next ones. Each file is written beside its place and put there by the recording's own thread,
// in frame order and only whole; after a failure no later file appears. At most a few frames
// are out at once, so memory stays bounded.
class FrameSaveQueue
{
public:
    // whileWaiting runs whenever the queue waits for its workers, at least every few
    // milliseconds: the owner's events are handled there.
    // The frames are pictures of stream, turned into pixels as the options say.
    FrameSaveQueue(const StreamPicture& stream, const PictureOptions& options,
                   std::function<void()> whileWaiting);
    ~FrameSaveQueue();
    FrameSaveQueue(const FrameSaveQueue&) = delete;
    FrameSaveQueue& operator=(const FrameSaveQueue&) = delete;

    // An image of the frames' size to copy a frame's pixels into, one that an earlier frame was
    // saved from when there is one.
    CDibImage takeImage();
    // Hands a frame over. While the queue is full, the files saved meanwhile are put in place.
    void push(FrameToSave frame);
    // Puts the files saved so far in place, in frame order.
    void publishSaved();
    // Returns once every frame handed over is on disk or given up.
    void finish();
    // Runs with the path of each file as it takes its place.
    void setOnPublished(std::function<void(const std::string& path)> onPublished)
    {
        m_onPublished = std::move(onPublished);
    }

    // Files that have taken their places.
    int saved() const { return m_saved; }
    // Frames whose pictures could not be turned into pixels, and so were not saved.
    int undecodable() const { return m_undecodable; }
    // Once a file could not be saved, the later ones are given up; error says why.
    bool failed() const { return m_failed; }
    const std::optional<Error>& error() const { return m_error; }

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
        std::optional<Error> error;
        CDibImage image; // to be used again
    };
    struct Workspace
    {
        std::unique_ptr<DibFrameConverter> converter;
        CDibImage image;
    };

    static Saved save(FrameToSave& frame, Workspace& workspace);
    void publish(Saved saved);
    void waitForNext();

    const int m_width;
    const int m_height;
    const std::function<void()> m_whileWaiting;
    std::function<void(const std::string&)> m_onPublished;
    std::vector<CDibImage> m_spareImages;
    int m_saved = 0;
    int m_undecodable = 0;
    bool m_failed = false;
    std::optional<Error> m_error;
    std::shared_ptr<std::atomic<bool>> m_givenUp; // read by the workers' tasks
    OrderedWorkQueue<Saved, Workspace> m_queue;   // last: stopped first
};
