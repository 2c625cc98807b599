// Playback, recording and the saving of the decoded frame: the loops of the frame source.

#include "video/frame_source.h"

#include "platform/exception.h"
#include "settings/settings.h"
#include "video/av_stream_reader.h"
#include "video/frame_export.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

constexpr int kDefaultQuality = 75;

} // namespace

std::uint32_t CFrameSource::rate() const
{
    return m_stream ? m_stream->rate() : 0;
}

std::uint32_t CFrameSource::scale() const
{
    return m_stream ? m_stream->scale() : 0;
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

namespace {

// The time `count` frames of the stream's rate after start; counted from the schedule's start
// each time, so that no rounding accumulates.
PlaybackClock::Time frameTime(PlaybackClock::Time start, std::int64_t count, std::uint32_t rate,
                              std::uint32_t scale)
{
    using namespace std::chrono;
    if (rate == 0)
        return start;
    const auto perSecond = duration_cast<nanoseconds>(seconds(1)).count();
    // 128 bits: a count of frames times a scale times 10^9 may pass 64.
    const auto offset =
        static_cast<std::int64_t>(static_cast<__int128>(count) * scale * perSecond / rate);
    return start + nanoseconds(offset);
}

} // namespace

// Waits until the next frame is due; false when the loop must end instead.
bool CFrameSource::waitForNextFrame(PlaybackSchedule& schedule)
{
    if (!m_playbackClock)
        return true;
    const int next = m_currentFrame + 1;
    const PlaybackClock::Time due =
        frameTime(schedule.start, next - schedule.frame, rate(), scale());
    // A frame that is more than a frame time late starts a new schedule, so that playback never
    // races to catch up after a slow stretch.
    if (m_playbackClock->now() > frameTime(due, 1, rate(), scale())) {
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
    const std::string extension(RecordedExtension(option(OPTION_JPEG, 0)));

    Seek(from);
    PumpMessages();
    while (m_currentFrame <= to && !loopMustEnd()) {
        showProgress();
        PumpMessages();
        if (loopMustEnd())
            break;
        ShowFrame(m_currentFrame, m_displayWindow);
        PumpMessages();
        if (loopMustEnd())
            break;
        if ((std::int64_t(m_currentFrame) - from) % step == 0) {
            if (!saveRecordedFrame(RecordedFileName(folder, m_currentFrame, extension), result))
                break;
        }
        PumpMessages();
        if (loopMustEnd() || m_currentFrame == m_lastFrame || m_currentFrame == to)
            break;
        ++m_currentFrame;
    }
    endLoop();
    return result;
}

// A frame that was written counts; one that could not be decoded (damaged, or cut off the end
// of the file) is passed over and counted, so that the owner can say so. A file that can't be
// written ends the recording with the reason, so that a full disk or a vanished folder never
// goes unnoticed.
bool CFrameSource::saveRecordedFrame(const std::string& path, RecordResult& result)
{
    try {
        switch (SaveCurrentFrame(path)) {
        case SaveFrameResult::Written:
            ++result.saved;
            return true;
        case SaveFrameResult::NothingDecoded:
            ++result.undecodable;
            return true;
        default:
            result.error = saveErrorText(path);
            return false;
        }
    } catch (const CException& error) {
        result.error = error.ErrorText();
        return false;
    }
}

SaveFrameResult CFrameSource::SaveCurrentFrame(const std::string& path)
{
    if (m_decodedFrame == nullptr || m_image.IsEmpty())
        return SaveFrameResult::NothingDecoded;
    std::memcpy(m_image.PixelData(), DibPixelData(m_decodedFrame),
                static_cast<size_t>(m_image.Height()) * static_cast<size_t>(m_image.Stride()));
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

std::string CFrameSource::saveErrorText(const std::string& path) const
{
    return CantWriteFileText(path, m_saveErrno);
}
