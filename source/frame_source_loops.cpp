// Playback, recording and the saving of the decoded frame: the loops of the frame source.

#include "source/frame_source.h"

#include "image/image_format.h"
#include "video/frame_export.h"

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
    // The frames come in order: the decoder works on several at once, as for a recording.
    m_reader.decodeInOrder(m_currentFrame, 1);
    while (m_currentFrame <= lastFrame()) {
        showProgress();
        ShowFrame(m_currentFrame, m_displayWindow);
        PumpMessages();
        if (loopMustEnd() || m_currentFrame == lastFrame() || !waitForNextFrame(schedule))
            break;
        ++m_currentFrame;
    }
    if (isOpen())
        m_reader.decodeAnyOrder();
    endLoop();
}

RecordResult CFrameSource::Record(const std::string& folder, int from, int to)
{
    if (!beginLoop(StateRecording))
        return {};
    // With a display every frame is drawn, so every frame is decoded.
    Recorder recorder(m_reader, {folder, from, to, m_recordingFormat, m_displayWindow != nullptr},
                      [this] { PumpMessages(); });
    Seek(from);
    PumpMessages();
    while (!recorder.finished() && !loopMustEnd()) {
        m_currentFrame = recorder.frame();
        showProgress();
        PumpMessages();
        if (loopMustEnd())
            break;
        recorder.decode();
        if (m_displayWindow)
            ShowFrame(m_currentFrame, m_displayWindow);
        PumpMessages();
        if (loopMustEnd())
            break;
        recorder.save();
        PumpMessages();
    }
    const RecordResult result = recorder.finish();
    endLoop();
    return result;
}

Outcome CFrameSource::SaveCurrentFrame(const std::string& path)
{
    const std::optional<ImageFormat> format = ImageFormatOfPath(path);
    if (!m_reader.copyPictureInto(m_image))
        return Error{Failure::NothingDecoded, path, 0, {}};
    if (!format)
        return Error{Failure::NotAnImageType, path, 0, {}};
    // The same provenance as a recording gives the frame, so that both write the same bytes.
    std::optional<ImageProvenance> provenance;
    if (m_recordingFormat.provenance)
        provenance = ProvenanceOf(m_reader, m_reader.pictures().frame);
    return SaveImage(*format, path, m_image, m_recordingFormat.quality,
                     provenance ? &*provenance : nullptr);
}
