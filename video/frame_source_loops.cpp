// Playback, recording and the saving of the decoded frame: the loops of the frame source.

#include "video/frame_source.h"

#include "image/image_format.h"
#include "image/jpeg_codec.h"
#include "platform/file_system.h"
#include "settings/settings.h"
#include "video/av_stream_reader.h"
#include "video/decoded_picture.h"
#include "video/dib_frame_converter.h"
#include "video/frame_export.h"
#include "video/frame_save_queue.h"
#include "video/picture_window.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace {

constexpr int kDefaultQuality = kDefaultJpegQuality;

// While it lives, the decoder works on several frames at once, as a recording steps through them
// in order, knows which frames the recording will ask for and passes over those it can't decode;
// then on one frame at a time again, which jumps and single steps need, any of which may be asked
// for.
class DecodingInOrder
{
public:
    DecodingInOrder(const std::unique_ptr<AvStreamReader>& stream, int from, int step)
        : m_stream(stream), m_reader(stream.get())
    {
        if (!m_reader)
            return;
        m_reader->setDecoderThreading(DecoderThreading::Frames);
        m_reader->setWantedFrames(from, step);
        m_reader->setFrameOrder(FrameOrder::Ascending);
    }
    ~DecodingInOrder()
    {
        // Unless the file was closed meanwhile.
        if (!m_reader || m_stream.get() != m_reader)
            return;
        m_reader->setDecoderThreading(DecoderThreading::Slices);
        m_reader->setWantedFrames(0, 1);
        m_reader->setFrameOrder(FrameOrder::Any);
    }
    DecodingInOrder(const DecodingInOrder&) = delete;
    DecodingInOrder& operator=(const DecodingInOrder&) = delete;

private:
    const std::unique_ptr<AvStreamReader>& m_stream;
    AvStreamReader* m_reader;
};

} // namespace

std::uint32_t CFrameSource::rate() const
{
    return m_stream ? m_stream->rate() : 0;
}

std::uint32_t CFrameSource::scale() const
{
    return m_stream ? m_stream->scale() : 0;
}

std::chrono::nanoseconds CFrameSource::frameTime(int frame) const
{
    return m_stream ? m_stream->frameTime(frame) : std::chrono::nanoseconds(0);
}

bool CFrameSource::hasTimestamps() const
{
    return m_stream && m_stream->hasTimestamps();
}

bool CFrameSource::hasConstantRate() const
{
    return !m_stream || m_stream->hasConstantRate();
}

std::chrono::nanoseconds CFrameSource::duration() const
{
    return m_stream ? m_stream->duration() : std::chrono::nanoseconds(0);
}

int CFrameSource::option(int index, int fallback) const
{
    return m_settings ? m_settings->GetOption(index) : fallback;
}

bool CFrameSource::beginLoop(int state)
{
    if (m_state == StateClosed)
        return false;
    if (m_state == StatePlaying || m_state == StateRecording) {
        RequestStop(CloseAfterStop::No);
        PumpMessages();
        if (!isOpen())
            return false; // closed from inside the drain
    }
    m_closeAfterStop = false;
    m_stopRequested = false;
    m_state = state;
    runIdleUpdate();
    return true;
}

void CFrameSource::endLoop()
{
    // A source closed from inside the loop stays closed.
    if (m_state != StateClosed)
        m_state = StateIdle;
    if (m_closeAfterStop && m_ownerWindow)
        m_ownerWindow->postCancel();
}

bool CFrameSource::loopMustEnd() const
{
    return m_stopRequested || !isOpen();
}

void CFrameSource::showProgress()
{
    ShowCurrentText(-1);
    if (m_ownerWindow)
        m_ownerWindow->setSliderPosition(m_currentFrame);
}

// Waits until the next frame is due; false when the loop must end instead.
bool CFrameSource::waitForNextFrame(PlaybackSchedule& schedule)
{
    if (!m_playbackClock)
        return true;
    const int next = m_currentFrame + 1;
    // Each frame's time is counted from the schedule's start, so that no rounding accumulates.
    const PlaybackClock::Time due = schedule.start + (frameTime(next) - frameTime(schedule.frame));
    // A frame that is more than a frame time late starts a new schedule, so that playback never
    // races to catch up after a slow stretch.
    if (m_playbackClock->now() > due + (frameTime(next) - frameTime(m_currentFrame))) {
        schedule = {m_playbackClock->now(), next};
        return true;
    }
    while (m_playbackClock->now() < due && !loopMustEnd())
        m_playbackClock->waitUntil(due);
    return !loopMustEnd();
}

void CFrameSource::Play()
{
    if (!beginLoop(StatePlaying))
        return;
    PlaybackSchedule schedule{m_playbackClock ? m_playbackClock->now() : PlaybackClock::Time(),
                              m_currentFrame};
    while (m_currentFrame <= m_lastFrame) {
        showProgress();
        ShowFrame(m_currentFrame, m_displayWindow);
        PumpMessages();
        if (loopMustEnd() || m_currentFrame == m_lastFrame || !waitForNextFrame(schedule))
            break;
        ++m_currentFrame;
    }
    endLoop();
}

RecordResult CFrameSource::Record(const std::string& folder, int from, int to)
{
    RecordResult result;
    if (!beginLoop(StateRecording))
        return result;
    const std::int64_t step = std::max(option(OPTION_EVERY_FRAME, 0), 0) + std::int64_t(1);
    const int formatOption = option(OPTION_JPEG, 0);
    const ImageFormat format = RecordedFormat(formatOption);
    const std::string extension(RecordedExtension(formatOption));
    // Frames are saved on worker threads while the next ones are decoded and drawn.
    FrameSaveQueue queue(m_stream->streamPicture(), m_pictureOptions, [this] { PumpMessages(); });
    // Without a display only the saved frames are asked for, and the frames either side of them
    // where the conversion needs those; with one, every frame is drawn.
    const bool everyFrame = m_displayWindow || (m_converter && m_converter->needsNeighbours());
    DecodingInOrder decoding(m_stream, from,
                             everyFrame ? 1
                                        : static_cast<int>(std::min<std::int64_t>(
                                              step, std::numeric_limits<int>::max())));

    Seek(from);
    PumpMessages();
    while (m_currentFrame <= to && !loopMustEnd() && !queue.failed()) {
        showProgress();
        PumpMessages();
        if (loopMustEnd())
            break;
        const bool saved = (std::int64_t(m_currentFrame) - from) % step == 0;
        // Without a display, a frame that is not saved is seen by no one: it is not decoded.
        if (saved || m_displayWindow)
            ShowFrame(m_currentFrame, m_displayWindow);
        PumpMessages();
        if (loopMustEnd())
            break;
        if (saved &&
            !queueRecordedFrame(queue, RecordedFileName(folder, m_currentFrame, extension), format))
            ++result.undecodable;
        queue.publishSaved();
        PumpMessages();
        if (loopMustEnd() || m_currentFrame == m_lastFrame || m_currentFrame == to)
            break;
        ++m_currentFrame;
    }
    // Every frame handed over is on disk, or given up after a failure, before the loop ends.
    queue.finish();
    result.saved = queue.saved();
    result.undecodable += queue.undecodable();
    result.error = queue.error();
    endLoop();
    return result;
}

// Hands the frame decoded last over to be saved; false for a frame that could not be decoded
// (damaged, or cut off the end of the file), which is passed over. While the queue is full the
// owner's events are handled.
bool CFrameSource::queueRecordedFrame(FrameSaveQueue& queue, const std::string& path,
                                      ImageFormat format)
{
    if (!m_picture)
        return false;
    FrameToSave frame{path, format, option(OPTION_JPEG_QUALITY, kDefaultQuality), {}, {}};
    // A frame on the screen is in pixels already: copying them costs less than converting the
    // picture again. Either way the frame needs nothing of the source once handed over.
    if (m_convertedPicture == m_picture && m_converter) {
        frame.image = queue.takeImage();
        if (frame.image.IsEmpty())
            return false;
        std::memcpy(frame.image.PixelData(), DibPixelData(m_converter->packedDib()),
                    static_cast<size_t>(frame.image.Height()) *
                        static_cast<size_t>(frame.image.Stride()));
    } else {
        frame.pictures = pictureWindow();
    }
    queue.push(std::move(frame));
    return true;
}

SaveFrameResult CFrameSource::SaveCurrentFrame(const std::string& path)
{
    if (!copyDecodedFrameToImage())
        return SaveFrameResult::NothingDecoded;
    errno = 0;
    m_saveErrno = 0;
    switch (SaveImageByExtension(path, m_image, option(OPTION_JPEG_QUALITY, kDefaultQuality))) {
    case SaveImageResult::Written:
        return SaveFrameResult::Written;
    case SaveImageResult::NotAnImageType:
        return SaveFrameResult::NotAnImageType;
    case SaveImageResult::Failed:
        m_saveErrno = errno;
        return SaveFrameResult::Failed;
    }
    return SaveFrameResult::Failed;
}

// The pixels of the frame decoded last into the export image: copied when the frame is in pixels
// already, as one on the screen is, else turned into them there and nowhere else.
bool CFrameSource::copyDecodedFrameToImage()
{
    if (!m_picture || !m_converter || m_image.IsEmpty())
        return false;
    if (m_convertedPicture != m_picture)
        return m_converter->convertInto(pictureWindow(), m_image.PixelData());
    std::memcpy(m_image.PixelData(), DibPixelData(m_converter->packedDib()),
                static_cast<size_t>(m_image.Height()) * static_cast<size_t>(m_image.Stride()));
    return true;
}

std::string CFrameSource::saveErrorText(const std::string& path) const
{
    return CantWriteFileText(path, m_saveErrno);
}
