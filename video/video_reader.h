#pragma once

#include "platform/error.h"
#include "video/picture_description.h"
#include "video/picture_options.h"
#include "video/picture_window.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class AvStreamReader;
class CDibImage;
class DibFrameConverter;
class ScreenPicture;
struct StreamPicture;

enum class WantFrames
{
    No, // only the frame range, the times and the stored sizes are needed: no decoder
    Yes,
};

enum class SearchDirection
{
    Forward,
    Backward,
};

// What opening a video finds out about it.
struct VideoFacts
{
    std::string path;
    // Frame numbers are the stream's sample numbers.
    int firstFrame = 0;
    int lastFrame = 0;
    // Samples per second as rate / scale, as the stream's header gives them, and rounded.
    std::uint32_t rate = 0;
    std::uint32_t scale = 0;
    int framesPerSecond = 0;
    // The file's size in units of 128 bytes per second of video.
    std::int64_t titleBitrate = 0;
    // The size of the pictures shown and saved: the stored size turned upright, and at the
    // display aspect, as the picture options say.
    int width = 0;
    int height = 0;
    // Whether the frames carry their own times (every container but AVI), and whether those
    // keep one rate.
    bool hasTimestamps = false;
    bool constantRate = true;
    // From the first frame's start to the last frame's end.
    std::chrono::nanoseconds duration{0};
    // Why frames can't be decoded, when they were wanted and can't.
    std::optional<Error> decoderProblem;
};

// A frame's number and start time in milliseconds as the program shows them:
// "1500 00:01:00.000".
std::string FrameText(int frame, std::int64_t milliseconds);
// The time alone: "00:01:00.000".
std::string FrameTimeText(std::int64_t milliseconds);
// Seconds to the microsecond, as the ffmpeg tool gives times: "60.000000".
std::string SecondsText(std::chrono::nanoseconds time);

// A video file read without any window: its facts, its key frames, the stored size and time of
// every frame, and any frame's picture in pixels. The frame decoded last stays at hand until the
// next is asked for, as a packed 24-bit DIB once it is needed in pixels.
class VideoReader
{
public:
    VideoReader();
    ~VideoReader();
    VideoReader(const VideoReader&) = delete;
    VideoReader& operator=(const VideoReader&) = delete;
    // A reader moved from is closed and keeps its picture options and cache budget.
    VideoReader(VideoReader&&) noexcept;
    VideoReader& operator=(VideoReader&&) noexcept;

    // Opens the file's first video stream. A stream whose frames can't be decoded still opens,
    // with the reason in decoderProblem, when frames are wanted.
    // A file without an index of every frame is read through once; progress hears how far, in
    // thousandths of the file, and stops it by returning false.
    Outcome open(const std::string& path, WantFrames wantFrames,
                 std::function<bool(int permille)> progress = {});
    // Opens only the file's headers and decodes the first picture its stream hands out, as
    // decode() leaves a frame, without listing the frames: what a window shows at once while a
    // long file's frames are listed elsewhere. The facts give the shown size and no frame range;
    // no other frame can be decoded.
    Outcome openFirstPicture(const std::string& path);
    void close();
    bool isOpen() const { return m_stream != nullptr; }
    bool hasDecoder() const;
    const VideoFacts& facts() const { return m_facts; }

    // The nearest key frame at or after (Forward) or at or before (Backward) from; -1 when none.
    int findKeyFrame(int from, SearchDirection direction) const;
    // The stored size of the frame's sample; none for a sample that can't be read.
    std::optional<std::uint32_t> storedSize(int frame) const;
    // The stored size of every frame, first to last; a sample that can't be read repeats the
    // size before it.
    std::vector<std::uint32_t> storedSizes() const;
    // When the frame is shown, counted from the start of the stream's time line: by its number
    // at the stream's rate, or by the container's presentation times where the frames keep no
    // one rate. Whole milliseconds, as frame texts show them, by sampleTime.
    std::chrono::nanoseconds frameTime(int frame) const;
    std::int64_t sampleTime(int frame) const;
    // The frame whose picture a packet read from the file holds, known by its decoding time,
    // byte position and size; -1 for a packet that holds no frame.
    int frameOfPacket(std::int64_t dts, std::int64_t position, std::uint32_t size) const;

    // Decodes frame, and its neighbours where the conversion needs them; a frame that can't be
    // decoded leaves no picture. Pictures become pixels only when asked for.
    void decode(int frame);
    // Work for idle time: decodes one more picture on the way to frame, so that decode(frame)
    // finds it at hand later, and leaves the frame decoded last as it is. True while there is
    // more to do; false once the frame is at hand, or when it can't be made so ahead of time
    // (there is no frame cache, or the decoder can't reach it).
    bool decodeAhead(int frame);
    bool hasPicture() const { return m_window.picture != nullptr; }
    // The frame decoded last as a packed 24-bit DIB in the image's exact layout; null when none
    // was or it could not be decoded. Valid until the next decode or close.
    const std::uint8_t* packedDib();
    // The frame decoded last into image (24-bit, width x height): copied when it is in pixels
    // already, converted there otherwise. False when there is no picture.
    bool copyPictureInto(CDibImage& image);
    // The frame decoded last made for a screen at width x height (its shown size or smaller), in
    // the colours of packedDib, converted once; null when there is no picture.
    std::shared_ptr<const ScreenPicture> screenPicture(int width, int height);
    // Whether packedDib holds the frame decoded last already.
    bool isConverted() const;
    // The decoder's pictures of the frame decoded last, for a converter of their own.
    const PictureWindow& pictures() const { return m_window; }
    const StreamPicture& streamPicture() const;
    // Whether a frame's conversion needs the frames either side of it.
    bool needsNeighbours() const;

    // Applied at once to an open video, whose frame size may change with them.
    void setPictureOptions(const PictureOptions& options);
    const PictureOptions& pictureOptions() const { return m_pictureOptions; }
    PictureDescription describePicture() const;
    // The most memory the pictures decoded lately may keep; by default what the machine spares.
    void setFrameCacheBudget(std::size_t bytes);

    // Frames asked for from `from` on, every step-th, in order, as a recording asks for them:
    // the decoder works on several at once and passes over those it can't decode. Until
    // decodeAnyOrder.
    void decodeInOrder(int from, int step);
    // The same for a list of frames, ascending; see FrameDecoder::setWantedFrames.
    void decodeInOrder(std::vector<int> frames, bool keyFramesOnly);
    void decodeAnyOrder();

private:
    void applyPictureOptions();

    std::unique_ptr<AvStreamReader> m_stream;
    VideoFacts m_facts;
    PictureOptions m_pictureOptions;
    std::optional<std::size_t> m_frameCacheBudget; // none: the machine's default
    PictureWindow m_window;                        // the frame decoded last
    std::unique_ptr<DibFrameConverter> m_converter;
    DecodedPicturePtr m_convertedPicture;
    // Screen pictures made before; one that nobody paints any more is made again in its place.
    std::vector<std::shared_ptr<ScreenPicture>> m_screenPictures;
};
