#include "video/frame_source.h"

#include "video/av_stream_reader.h"
#include "video/dib_frame_converter.h"
#include "video/frame_cache.h"
#include "video/picture_window.h"
#include "video/stream_picture.h"

#include <cinttypes>
#include <cstdio>
#include <filesystem>

namespace {

// Shows the owner's wait cursor for as long as it lives.
class WaitCursor
{
public:
    explicit WaitCursor(FrameSourceOwner* owner) : m_owner(owner)
    {
        if (m_owner)
            m_owner->beginWaitCursor();
    }
    ~WaitCursor()
    {
        if (m_owner)
            m_owner->endWaitCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    FrameSourceOwner* m_owner;
};

} // namespace

CFrameSource::CFrameSource() = default;

CFrameSource::~CFrameSource()
{
    Close();
}

void CFrameSource::Close()
{
    m_image.Free();
    m_picture = nullptr;
    m_previousPicture = nullptr;
    m_nextPicture = nullptr;
    m_convertedPicture = nullptr;
    m_converter.reset();
    m_stream.reset();
    m_state = StateClosed;
    m_displayWindow = nullptr;
    m_width = 0;
    m_height = 0;
    m_firstFrame = 0;
    m_lastFrame = 0;
    m_beginMark = 0;
    m_endMark = 0;
    m_currentFrame = 0;
    m_path.clear();
}

bool CFrameSource::Open(const std::string& path, FrameDisplay* displayWindow,
                        FrameSourceOwner* ownerWindow, std::int64_t& bitrate, WantFrames wantFrames)
{
    Close();
    m_errorText.clear();

    bitrate = 0;
    std::error_code error;
    const auto fileSize = std::filesystem::file_size(path, error);
    if (!error)
        bitrate = static_cast<std::int64_t>(fileSize);

    auto stream = std::make_unique<AvStreamReader>();
    if (!stream->open(path)) {
        m_errorText = stream->errorText();
        return false;
    }
    // A stream without a single frame (a header with nothing behind it) has nothing to show,
    // and no frame range to give the slider.
    if (stream->streamLength() <= 0) {
        m_errorText = "the video has no frames";
        return false;
    }
    m_stream = std::move(stream);
    applyPictureOptions();

    m_state = StateIdle;
    m_displayWindow = displayWindow;
    m_ownerWindow = ownerWindow;
    m_firstFrame = m_stream->streamStart();
    m_lastFrame = m_firstFrame + m_stream->streamLength() - 1;
    m_endMark = m_lastFrame;
    m_beginMark = m_currentFrame = m_firstFrame;
    m_framesPerSecond = static_cast<int>(double(m_stream->rate()) / m_stream->scale() + 0.5);

    const std::int64_t seconds = m_stream->sampleToTime(m_lastFrame) / 1000;
    if (seconds > 0) {
        bitrate = bitrate / seconds / 128;
    } else {
        // A video shorter than a second: its bytes over its whole duration, not its size in
        // bytes as a rate.
        const std::int64_t nanoseconds = m_stream->duration().count();
        bitrate = nanoseconds > 0 ? static_cast<std::int64_t>(static_cast<__int128>(bitrate) *
                                                              1000000000 / nanoseconds / 128)
                                  : 0;
    }
    m_path = path;

    if (wantFrames == WantFrames::No)
        return true;
    if (m_image.IsEmpty()) {
        m_errorText = "the video's frame size is unusable";
    } else if (!m_stream->openFrameDecoder()) {
        m_errorText = m_stream->errorText();
    } else {
        m_converter =
            std::make_unique<DibFrameConverter>(m_stream->streamPicture(), m_pictureOptions);
        m_stream->setFrameCacheBudget(m_frameCacheBudget.value_or(DefaultFrameCacheBudget()));
    }
    ShowAllTexts();
    return true;
}

void CFrameSource::setFrameCacheBudget(std::size_t bytes)
{
    m_frameCacheBudget = bytes;
    if (m_stream && m_stream->hasFrameDecoder())
        m_stream->setFrameCacheBudget(bytes);
}

bool CFrameSource::hasDecoder() const
{
    return m_stream && m_stream->hasFrameDecoder();
}

bool CFrameSource::setPictureOptions(const PictureOptions& options)
{
    if (m_state == StatePlaying || m_state == StateRecording)
        return false;
    m_pictureOptions = options;
    if (m_stream)
        applyPictureOptions();
    return true;
}

// The frame size, the export image and the converter as the picture options make them.
void CFrameSource::applyPictureOptions()
{
    const ShownSize shown = ShownSizeOf(m_stream->streamPicture(), m_pictureOptions);
    m_width = shown.width;
    m_height = shown.height;
    m_image.Create(m_width, m_height, 24);
    m_convertedPicture = nullptr;
    if (m_converter)
        m_converter =
            std::make_unique<DibFrameConverter>(m_stream->streamPicture(), m_pictureOptions);
}

PictureDescription CFrameSource::describePicture() const
{
    if (!m_stream)
        return {};
    return DescribePicture(m_stream->streamPicture(), m_pictureOptions,
                           m_picture ? m_picture->frame.get() : nullptr);
}

PictureWindow CFrameSource::pictureWindow() const
{
    return {m_pictureFrame, m_previousPicture, m_picture, m_nextPicture};
}

// The frame's picture, and its neighbours where the conversion needs them.
void CFrameSource::fetchPictures(int frame)
{
    PictureWindow window;
    if (m_stream) {
        const bool neighbours = m_converter && m_converter->needsNeighbours();
        window = FetchPictureWindow(frame, m_firstFrame, m_lastFrame, neighbours, pictureWindow(),
                                    [this](int wanted) { return m_stream->getPicture(wanted); });
    }
    m_pictureFrame = window.frame;
    m_previousPicture = std::move(window.previous);
    m_picture = std::move(window.picture);
    m_nextPicture = std::move(window.next);
}

int CFrameSource::ShowFrame(int frame, FrameDisplay* dc)
{
    fetchPictures(frame);
    if (dc == nullptr)
        return 1;
    const std::uint8_t* decoded = decodedFrame();
    if (decoded == nullptr)
        dc->showNoPicture();
    PaintPackedDib(dc, decoded);
    return 1;
}

const std::uint8_t* CFrameSource::decodedFrame()
{
    if (!m_picture || !m_converter)
        return nullptr;
    if (m_convertedPicture != m_picture) {
        m_convertedPicture = nullptr;
        if (!m_converter->convert(pictureWindow()))
            return nullptr;
        m_convertedPicture = m_picture;
    }
    return m_converter->packedDib();
}

void CFrameSource::PaintPackedDib(FrameDisplay* dc, const std::uint8_t* packedDib)
{
    if (dc == nullptr || packedDib == nullptr)
        return;
    dc->drawPackedDib(packedDib, DibPixelWidth(packedDib), DibPixelHeight(packedDib));
}

int CFrameSource::Redraw()
{
    if (!m_stream)
        return 0;
    ShowFrame(m_currentFrame, m_displayWindow);
    ShowCurrentText(-1);
    return 1;
}

void CFrameSource::Seek(int frame)
{
    if (frame < m_firstFrame || frame > m_lastFrame)
        return;
    WaitCursor waitCursor(m_ownerWindow);
    m_currentFrame = frame;
    if (m_displayWindow == nullptr)
        return;
    Redraw();
    PumpMessages();
    if (m_ownerWindow)
        m_ownerWindow->setSliderPosition(m_currentFrame);
}

int CFrameSource::FindKeyFrame(int from, SearchDirection direction) const
{
    if (!m_stream)
        return -1;
    return m_stream->findKeySample(
        from, direction == SearchDirection::Forward ? KeySearch::Next : KeySearch::Previous);
}

std::string CFrameSource::FormatFrameText(int frame) const
{
    const std::int64_t time = m_stream ? m_stream->sampleToTime(frame) : 0;
    const std::int64_t hours = time / 3600000;
    const std::int64_t rest = time % 3600000;
    const std::int64_t minutes = rest / 1000 / 60;
    const std::int64_t restOfMinute = rest - minutes * 60000;
    const std::int64_t seconds = restOfMinute / 1000;
    const std::int64_t milliseconds = restOfMinute % 1000;
    char text[64];
    std::snprintf(text, sizeof text, "%d %02" PRId64 ":%02" PRId64 ":%02" PRId64 ".%03" PRId64,
                  frame, hours, minutes, seconds, milliseconds);
    return text;
}

void CFrameSource::setFrameText(FrameTextControl control, int frame)
{
    if (m_ownerWindow)
        m_ownerWindow->setFrameText(control, FormatFrameText(frame));
}

void CFrameSource::ShowAllTexts()
{
    setFrameText(FrameTextControl::FirstFrame, m_firstFrame);
    setFrameText(FrameTextControl::LastFrame, m_lastFrame);
    ShowMarkTexts();
    ShowCurrentText(-1);
}

void CFrameSource::ShowMarkTexts()
{
    setFrameText(FrameTextControl::BeginMark, m_beginMark);
    setFrameText(FrameTextControl::EndMark, m_endMark);
}

void CFrameSource::ShowCurrentText(int frame)
{
    setFrameText(FrameTextControl::CurrentFrame, frame < 0 ? m_currentFrame : frame);
}

FrameRect CFrameSource::GetFrameRect() const
{
    return {0, 0, m_width, m_height};
}

void CFrameSource::RequestStop(CloseAfterStop closeAfter)
{
    if (m_state != StatePlaying && m_state != StateRecording)
        return;
    m_stopRequested = true;
    m_closeAfterStop = closeAfter == CloseAfterStop::Yes;
}

bool CFrameSource::ScanSampleSizes()
{
    if (!beginLoop(StatePlaying))
        return false;

    // A sample that can't be read repeats the size before it.
    std::uint32_t bytes = 0;
    bool stopped = false;
    while (m_currentFrame <= m_lastFrame) {
        if (const auto stored = m_stream->sampleSize(m_currentFrame))
            bytes = *stored;
        if (m_ownerWindow)
            m_ownerWindow->receiveSampleSize(bytes);
        PumpMessages();
        if (!m_stream || m_stopRequested) {
            stopped = true;
            break;
        }
        ++m_currentFrame;
    }
    if (m_stream)
        m_state = StateIdle;
    return !stopped;
}

void CFrameSource::PumpMessages()
{
    if (m_messagePump)
        m_messagePump();
}

void CFrameSource::runIdleUpdate()
{
    if (m_idleUpdate)
        m_idleUpdate();
}
