#include "source/frame_source.h"

#include "image/dib.h"
#include "source/background_open.h"

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
    m_reader.close();
    m_state = StateClosed;
    m_displayWindow = nullptr;
    m_beginMark = 0;
    m_endMark = 0;
    m_currentFrame = 0;
    m_idleWorkEnded.reset();
}

bool CFrameSource::Open(const std::string& path, FrameDisplay* displayWindow,
                        FrameSourceOwner* ownerWindow, std::int64_t& bitrate, WantFrames wantFrames)
{
    Close();
    m_openError.reset();
    bitrate = 0;
    Outcome opened =
        ownerWindow ? OpenWhileOwnerWaits(m_reader, path, wantFrames, *ownerWindow, displayWindow)
                    : m_reader.open(path, wantFrames);
    if (!opened) {
        m_openError = opened.error();
        return false;
    }
    m_image.Create(width(), height(), 24);
    m_state = StateIdle;
    m_displayWindow = displayWindow;
    m_ownerWindow = ownerWindow;
    m_endMark = lastFrame();
    m_beginMark = m_currentFrame = firstFrame();
    bitrate = m_reader.facts().titleBitrate;
    if (wantFrames == WantFrames::No)
        return true;
    m_openError = m_reader.facts().decoderProblem;
    ShowAllTexts();
    return true;
}

bool CFrameSource::setPictureOptions(const PictureOptions& options)
{
    if (m_state == StatePlaying || m_state == StateRecording)
        return false;
    m_reader.setPictureOptions(options);
    m_idleWorkEnded.reset();
    if (isOpen())
        m_image.Create(width(), height(), 24);
    return true;
}

int CFrameSource::ShowFrame(int frame, FrameDisplay* dc)
{
    m_reader.decode(frame);
    if (dc == nullptr)
        return 1;
    // Straight from the decoder's picture to the screen, where the display takes that.
    if (const std::optional<PixelSize> size = dc->screenPictureSize({width(), height()})) {
        if (std::shared_ptr<const ScreenPicture> picture =
                m_reader.screenPicture(size->width, size->height))
            dc->drawScreenPicture(std::move(picture));
        else
            dc->showNoPicture();
        return 1;
    }
    const std::uint8_t* decoded = decodedFrame();
    if (decoded == nullptr)
        dc->showNoPicture();
    PaintPackedDib(dc, decoded);
    return 1;
}

void CFrameSource::PaintPackedDib(FrameDisplay* dc, const std::uint8_t* packedDib)
{
    if (dc == nullptr || packedDib == nullptr)
        return;
    dc->drawPackedDib(packedDib, DibPixelWidth(packedDib), DibPixelHeight(packedDib));
}

int CFrameSource::Redraw()
{
    if (!isOpen())
        return 0;
    ShowFrame(m_currentFrame, m_displayWindow);
    ShowCurrentText(-1);
    return 1;
}

void CFrameSource::Seek(int frame)
{
    if (frame < firstFrame() || frame > lastFrame())
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

bool CFrameSource::DecodeInIdle()
{
    const int target = m_currentFrame - 1;
    if (m_state != StateIdle || !isOpen() || target < firstFrame() || m_idleWorkEnded == target)
        return false;
    if (m_reader.decodeAhead(target))
        return true;
    m_idleWorkEnded = target;
    return false;
}

void CFrameSource::ShowPreview(int frame)
{
    if (m_state != StateIdle || frame < firstFrame() || frame > lastFrame())
        return;
    ShowFrame(frame, m_displayWindow);
}

std::string CFrameSource::FormatFrameText(int frame) const
{
    return FrameText(frame, m_reader.sampleTime(frame));
}

void CFrameSource::setFrameText(FrameTextControl control, int frame)
{
    if (m_ownerWindow)
        m_ownerWindow->setFrameText(control, FormatFrameText(frame));
}

void CFrameSource::ShowAllTexts()
{
    setFrameText(FrameTextControl::FirstFrame, firstFrame());
    setFrameText(FrameTextControl::LastFrame, lastFrame());
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
    return {0, 0, width(), height()};
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
    while (m_currentFrame <= lastFrame()) {
        if (const auto stored = m_reader.storedSize(m_currentFrame))
            bytes = *stored;
        if (m_ownerWindow)
            m_ownerWindow->receiveSampleSize(bytes);
        PumpMessages();
        if (!isOpen() || m_stopRequested) {
            stopped = true;
            break;
        }
        ++m_currentFrame;
    }
    if (isOpen())
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
