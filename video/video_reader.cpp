#include "video/video_reader.h"

#include "image/dib.h"
#include "image/dib_image.h"
#include "video/av_stream_reader.h"
#include "video/dib_frame_converter.h"
#include "video/frame_cache.h"
#include "video/screen_picture.h"
#include "video/stream_picture.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// The file's size in units of 128 bytes per second of video; a video shorter than a second gets
// its bytes over its whole duration.
std::int64_t titleBitrate(std::uint64_t fileSize, std::int64_t lastFrameMilliseconds,
                          std::chrono::nanoseconds duration)
{
    const std::int64_t bytes = static_cast<std::int64_t>(fileSize);
    const std::int64_t seconds = lastFrameMilliseconds / 1000;
    if (seconds > 0)
        return bytes / seconds / 128;
    const std::int64_t nanoseconds = duration.count();
    return nanoseconds > 0 ? static_cast<std::int64_t>(static_cast<__int128>(bytes) * 1000000000 /
                                                       nanoseconds / 128)
                           : 0;
}

} // namespace

std::string FrameText(int frame, std::int64_t time)
{
    return std::to_string(frame) + ' ' + FrameTimeText(time);
}

std::string SecondsText(std::chrono::nanoseconds time)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.6f", std::chrono::duration<double>(time).count());
    return text;
}

std::string FrameTimeText(std::int64_t time)
{
    const std::int64_t hours = time / 3600000;
    const std::int64_t rest = time % 3600000;
    const std::int64_t minutes = rest / 1000 / 60;
    const std::int64_t restOfMinute = rest - minutes * 60000;
    const std::int64_t seconds = restOfMinute / 1000;
    const std::int64_t milliseconds = restOfMinute % 1000;
    char text[64];
    std::snprintf(text, sizeof text, "%02" PRId64 ":%02" PRId64 ":%02" PRId64 ".%03" PRId64, hours,
                  minutes, seconds, milliseconds);
    return text;
}

VideoReader::VideoReader() = default;

VideoReader::~VideoReader() = default;

VideoReader::VideoReader(VideoReader&& other) noexcept
    : m_stream(std::move(other.m_stream)), m_facts(std::move(other.m_facts)),
      m_pictureOptions(other.m_pictureOptions), m_frameCacheBudget(other.m_frameCacheBudget),
      m_window(std::move(other.m_window)), m_converter(std::move(other.m_converter)),
      m_convertedPicture(std::move(other.m_convertedPicture)),
      m_screenPictures(std::move(other.m_screenPictures))
{
    other.close();
}

VideoReader& VideoReader::operator=(VideoReader&& other) noexcept
{
    if (this != &other) {
        m_stream = std::move(other.m_stream);
        m_facts = std::move(other.m_facts);
        m_pictureOptions = other.m_pictureOptions;
        m_frameCacheBudget = other.m_frameCacheBudget;
        m_window = std::move(other.m_window);
        m_converter = std::move(other.m_converter);
        m_convertedPicture = std::move(other.m_convertedPicture);
        m_screenPictures = std::move(other.m_screenPictures);
        other.close();
    }
    return *this;
}

void VideoReader::close()
{
    m_window = {};
    m_screenPictures.clear();
    m_convertedPicture = nullptr;
    m_converter.reset();
    m_stream.reset();
    m_facts = {};
}

Outcome VideoReader::open(const std::string& path, WantFrames wantFrames,
                          std::function<bool(int permille)> progress)
{
    close();
    auto stream = std::make_unique<AvStreamReader>();
    if (!stream->open(path, std::move(progress)))
        return Error{stream->openStopped() ? Failure::OpenStopped : Failure::OpenVideo, path, 0,
                     stream->errorText()};
    // A stream without a single frame (a header with nothing behind it) has nothing to show,
    // and no frame range to give a slider.
    if (stream->streamLength() <= 0)
        return Error{Failure::NoFrames, path, 0, {}};
    m_stream = std::move(stream);

    VideoFacts& facts = m_facts;
    facts.path = path;
    facts.firstFrame = m_stream->streamStart();
    facts.lastFrame = facts.firstFrame + m_stream->streamLength() - 1;
    facts.rate = m_stream->rate();
    facts.scale = m_stream->scale();
    facts.framesPerSecond = static_cast<int>(double(facts.rate) / facts.scale + 0.5);
    facts.hasTimestamps = m_stream->hasTimestamps();
    facts.constantRate = m_stream->hasConstantRate();
    facts.duration = m_stream->duration();
    std::error_code sizeError;
    const auto fileSize = std::filesystem::file_size(path, sizeError);
    facts.titleBitrate = titleBitrate(sizeError ? 0 : fileSize,
                                      m_stream->sampleToTime(facts.lastFrame), facts.duration);
    applyPictureOptions();

    if (wantFrames == WantFrames::No)
        return Done{};
    if (!DibFrameConverter::fits(facts.width, facts.height)) {
        facts.decoderProblem = Error{Failure::FrameSize, path, 0, {}};
    } else if (!m_stream->openFrameDecoder()) {
        facts.decoderProblem = Error{Failure::NoDecoder, path, 0, m_stream->errorText()};
    } else {
        m_converter =
            std::make_unique<DibFrameConverter>(m_stream->streamPicture(), m_pictureOptions);
        m_stream->setFrameCacheBudget(m_frameCacheBudget.value_or(DefaultFrameCacheBudget()));
    }
    return Done{};
}

Outcome VideoReader::openFirstPicture(const std::string& path)
{
    close();
    auto stream = std::make_unique<AvStreamReader>();
    if (!stream->openHeaders(path))
        return Error{Failure::OpenVideo, path, 0, stream->errorText()};
    m_stream = std::move(stream);
    m_facts.path = path;
    applyPictureOptions();
    DecodedPicturePtr picture = m_stream->firstPicture();
    if (!picture) {
        close();
        return Error{Failure::OpenVideo, path, 0, {}};
    }
    m_converter = std::make_unique<DibFrameConverter>(m_stream->streamPicture(), m_pictureOptions);
    m_window = PictureWindow{0, nullptr, std::move(picture), nullptr};
    return Done{};
}

bool VideoReader::hasDecoder() const
{
    return m_stream && m_stream->hasFrameDecoder();
}

int VideoReader::findKeyFrame(int from, SearchDirection direction) const
{
    if (!m_stream)
        return -1;
    return m_stream->findKeySample(
        from, direction == SearchDirection::Forward ? KeySearch::Next : KeySearch::Previous);
}

std::optional<std::uint32_t> VideoReader::storedSize(int frame) const
{
    if (!m_stream)
        return std::nullopt;
    return m_stream->sampleSize(frame);
}

std::vector<std::uint32_t> VideoReader::storedSizes() const
{
    std::vector<std::uint32_t> sizes;
    if (!m_stream)
        return sizes;
    sizes.reserve(static_cast<std::size_t>(m_facts.lastFrame - m_facts.firstFrame + 1));
    std::uint32_t bytes = 0;
    for (int frame = m_facts.firstFrame; frame <= m_facts.lastFrame; ++frame) {
        bytes = m_stream->sampleSize(frame).value_or(bytes);
        sizes.push_back(bytes);
    }
    return sizes;
}

std::chrono::nanoseconds VideoReader::frameTime(int frame) const
{
    return m_stream ? m_stream->frameTime(frame) : std::chrono::nanoseconds(0);
}

std::int64_t VideoReader::sampleTime(int frame) const
{
    return m_stream ? m_stream->sampleToTime(frame) : 0;
}

int VideoReader::frameOfPacket(std::int64_t dts, std::int64_t position, std::uint32_t size) const
{
    return m_stream ? m_stream->frameOfRead(dts, position, size) : -1;
}

void VideoReader::decode(int frame)
{
    if (!m_stream) {
        m_window = {};
        return;
    }
    const bool neighbours = needsNeighbours();
    m_window =
        FetchPictureWindow(frame, m_facts.firstFrame, m_facts.lastFrame, neighbours, m_window,
                           [this](int wanted) { return m_stream->getPicture(wanted); });
}

bool VideoReader::decodeAhead(int frame)
{
    return m_stream && m_stream->decodeTowards(frame);
}

const std::uint8_t* VideoReader::packedDib()
{
    if (!m_window.picture || !m_converter)
        return nullptr;
    if (m_convertedPicture != m_window.picture) {
        m_convertedPicture = nullptr;
        if (!m_converter->convert(m_window))
            return nullptr;
        m_convertedPicture = m_window.picture;
    }
    return m_converter->packedDib();
}

std::shared_ptr<const ScreenPicture> VideoReader::screenPicture(int width, int height)
{
    if (!m_window.picture || !m_converter || width <= 0 || height <= 0 || width > m_facts.width ||
        height > m_facts.height)
        return nullptr;
    // A picture that only this reader still holds is written over: no new memory for every
    // frame.
    std::shared_ptr<ScreenPicture> picture;
    for (const auto& made : m_screenPictures) {
        if (made.use_count() == 1 && made->width() == width && made->height() == height) {
            picture = made;
            break;
        }
    }
    if (!picture) {
        AvFramePtr frame(av_frame_alloc());
        if (!frame)
            return nullptr;
        frame->format = AV_PIX_FMT_BGR0;
        frame->width = width;
        frame->height = height;
        if (av_frame_get_buffer(frame.get(), 0) < 0)
            return nullptr;
        picture = std::make_shared<ScreenPicture>(std::move(frame));
        // Pictures of another size, left from before a change of size, are let go.
        std::erase_if(m_screenPictures, [&](const auto& made) {
            return made->width() != width || made->height() != height;
        });
        if (m_screenPictures.size() < 3)
            m_screenPictures.push_back(picture);
    }
    if (!m_converter->convertForScreen(m_window, picture->frame()))
        return nullptr;
    return picture;
}

bool VideoReader::isConverted() const
{
    return m_converter && m_window.picture && m_convertedPicture == m_window.picture;
}

bool VideoReader::copyPictureInto(CDibImage& image)
{
    if (!m_window.picture || !m_converter || image.IsEmpty())
        return false;
    if (!isConverted())
        return m_converter->convertInto(m_window, image.PixelData());
    std::memcpy(image.PixelData(), DibPixelData(m_converter->packedDib()),
                static_cast<size_t>(image.Height()) * static_cast<size_t>(image.Stride()));
    return true;
}

const StreamPicture& VideoReader::streamPicture() const
{
    return m_stream->streamPicture();
}

bool VideoReader::needsNeighbours() const
{
    return m_converter && m_converter->needsNeighbours();
}

void VideoReader::setPictureOptions(const PictureOptions& options)
{
    m_pictureOptions = options;
    if (m_stream)
        applyPictureOptions();
}

// The frame size and the converter as the picture options make them.
void VideoReader::applyPictureOptions()
{
    const ShownSize shown = ShownSizeOf(m_stream->streamPicture(), m_pictureOptions);
    m_facts.width = shown.width;
    m_facts.height = shown.height;
    m_convertedPicture = nullptr;
    if (m_converter)
        m_converter =
            std::make_unique<DibFrameConverter>(m_stream->streamPicture(), m_pictureOptions);
}

PictureDescription VideoReader::describePicture() const
{
    if (!m_stream)
        return {};
    return DescribePicture(m_stream->streamPicture(), m_pictureOptions,
                           m_window.picture ? m_window.picture->frame.get() : nullptr);
}

void VideoReader::setFrameCacheBudget(std::size_t bytes)
{
    m_frameCacheBudget = bytes;
    if (m_stream && m_stream->hasFrameDecoder())
        m_stream->setFrameCacheBudget(bytes);
}

void VideoReader::decodeInOrder(int from, int step)
{
    if (!m_stream)
        return;
    m_stream->setDecoderThreading(DecoderThreading::Frames);
    m_stream->setWantedFrames(from, step);
    m_stream->setFrameOrder(FrameOrder::Ascending);
}

void VideoReader::decodeInOrder(std::vector<int> frames, bool keyFramesOnly)
{
    if (!m_stream)
        return;
    m_stream->setDecoderThreading(DecoderThreading::Frames);
    m_stream->setWantedFrames(std::make_shared<const std::vector<int>>(std::move(frames)),
                              keyFramesOnly);
    m_stream->setFrameOrder(FrameOrder::Ascending);
}

void VideoReader::decodeAnyOrder()
{
    if (!m_stream)
        return;
    m_stream->setDecoderThreading(DecoderThreading::Slices);
    m_stream->setWantedFrames(0, 1);
    m_stream->setFrameOrder(FrameOrder::Any);
}
