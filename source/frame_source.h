#pragma once

#include "image/dib_image.h"
#include "platform/error.h"
#include "source/frame_display.h"
#include "source/frame_source_owner.h"
#include "video/picture_description.h"
#include "video/picture_options.h"
#include "video/playback_clock.h"
#include "video/recorder.h"
#include "video/video_reader.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

enum class CloseAfterStop
{
    No,
    Yes,
};

struct FrameRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    bool operator==(const FrameRect&) const = default;
};

// The video through which the program touches a file: opens its first video stream, decodes and
// draws frames, seeks, finds key frames, formats frame texts and scans the stored frame sizes.
// Frame numbers are the stream's sample numbers.
//
// Long work runs as a loop on the user-interface thread that lets the owner handle its queued
// events after every step (the message pump hook); any operation may therefore be entered again
// from inside such a loop. The state and the two stop flags are the only coordination.
class CFrameSource
{
public:
    static constexpr int StateClosed = 0;
    static constexpr int StateIdle = 1;
    static constexpr int StatePlaying = 2; // also while the frame sizes are scanned
    static constexpr int StateRecording = 3;

    CFrameSource();
    virtual ~CFrameSource();
    CFrameSource(const CFrameSource&) = delete;
    CFrameSource& operator=(const CFrameSource&) = delete;

    // Opens the file's first video stream. bitrate receives the title figure: the file's size
    // in units of 128 bytes per second of video (its bytes over its duration for a video shorter
    // than a second). On failure the source is closed and openError() says why.
    bool Open(const std::string& path, FrameDisplay* displayWindow, FrameSourceOwner* ownerWindow,
              std::int64_t& bitrate, WantFrames wantFrames);
    // Releases the file and resets the frame range; the owner's texts and slider stay as shown.
    void Close();

    // Decodes frame and draws it into dc (nothing when dc is null); a frame that can't be
    // decoded shows no picture there. Returns 1. The picture is turned into 24-bit pixels only
    // when it is drawn or asked for, not for a frame that is only passed on the way.
    int ShowFrame(int frame, FrameDisplay* dc);
    // Draws a packed DIB unscaled; a null DIB draws nothing.
    static void PaintPackedDib(FrameDisplay* dc, const std::uint8_t* packedDib);
    // Draws the current frame and shows its text; 0 when nothing is open.
    int Redraw();
    // Makes frame the current one and shows it; a frame outside the range is ignored.
    void Seek(int frame);
    // Work for idle time, one picture a call: decodes on the way to the frame before the current
    // one, when it is not at hand, so that stepping back after a jump costs no wait. Nothing
    // shown changes. True while there is more to do; false while anything but idle, and once the
    // frame is at hand or can't be made so.
    bool DecodeInIdle();
    // Shows frame in the display without making it the current one, as a slider being dragged
    // does; the current frame's picture comes back with the next Seek or Redraw.
    void ShowPreview(int frame);
    // The nearest key frame at or after (Forward) or at or before (Backward) from; -1 when none.
    int FindKeyFrame(int from, SearchDirection direction) const
    {
        return m_reader.findKeyFrame(from, direction);
    }
    // The frame's number and start time, "1500 00:01:00.000".
    std::string FormatFrameText(int frame) const;
    void ShowAllTexts();
    void ShowMarkTexts();
    // Shows the text of frame, or of the current frame when frame is negative.
    void ShowCurrentText(int frame);
    FrameRect GetFrameRect() const;
    // Asks a running playback, recording or scan to end after its next step.
    void RequestStop(CloseAfterStop closeAfter);
    // Sends the stored size of every frame from the current one to the last to the owner.
    // True when the scan reached the end; false when it was stopped or nothing is open.
    bool ScanSampleSizes();

    // Plays from the current frame to the last. With a playback clock every frame is shown at
    // the stream's rate, never faster; a frame that decodes too slowly is shown as soon as it is
    // ready, and the frames after it keep the rate from there. Without a clock, as fast as
    // frames decode.
    void Play();
    // Shows the frames from `from` to `to` (never beyond the last) and saves those whose distance
    // from `from` is a multiple of the recording step, as folder/000123.jpg and so on; see
    // Recorder.
    RecordResult Record(const std::string& folder, int from, int to);
    // Writes the frame decoded last in the type the path's extension names.
    Outcome SaveCurrentFrame(const std::string& path);

    // How recordings and saved frames are written (step, format, quality); by default every
    // frame as BMP, and JPEG at the default quality.
    void setRecordingFormat(const RecordingFormat& format) { m_recordingFormat = format; }

    // How pictures become pixels: colour matrix, tone mapping, orientation, deinterlacing and
    // aspect. Applied at once to an open video, whose frame size may change with them (the
    // window's size then follows GetFrameRect); false, changing nothing, while a playback,
    // recording or scan runs.
    bool setPictureOptions(const PictureOptions& options);
    const PictureOptions& pictureOptions() const { return m_reader.pictureOptions(); }
    // The open video's pictures and what is made of them; empty when nothing is open.
    PictureDescription describePicture() const { return m_reader.describePicture(); }

    // Handles the owner's queued events; the loops call it after every step.
    void setMessagePump(std::function<void()> pump) { m_messagePump = std::move(pump); }
    // The clock that playback keeps pace with; none plays as fast as frames decode.
    void setPlaybackClock(PlaybackClock* clock) { m_playbackClock = clock; }
    // Brings the owner's buttons up to date at the start of a loop.
    void setIdleUpdate(std::function<void()> idleUpdate) { m_idleUpdate = std::move(idleUpdate); }
    // The most memory, in bytes, that the pictures decoded lately may keep, so that stepping back
    // and redrawing need no decoding; 0 keeps none. By default 256 MiB, or less where the
    // machine has less to spare. The cache is emptied by Close and by every Open.
    void setFrameCacheBudget(std::size_t bytes) { m_reader.setFrameCacheBudget(bytes); }

    int state() const { return m_state; }
    bool isOpen() const { return m_reader.isOpen(); }
    // False when the stream has no decoder: frames are then neither drawn nor saved.
    bool hasDecoder() const { return m_reader.hasDecoder(); }
    // Why the last Open failed, or why it opened without a decoder.
    const std::optional<Error>& openError() const { return m_openError; }

    // The video underneath, read without any window.
    const VideoReader& reader() const { return m_reader; }

    const std::string& path() const { return m_reader.facts().path; }
    // The size of the pictures shown and saved: the stored size turned upright, and at the
    // display aspect, as the picture options say.
    int width() const { return m_reader.facts().width; }
    int height() const { return m_reader.facts().height; }
    int firstFrame() const { return m_reader.facts().firstFrame; }
    int lastFrame() const { return m_reader.facts().lastFrame; }
    int currentFrame() const { return m_currentFrame; }
    int beginMark() const { return m_beginMark; }
    int endMark() const { return m_endMark; }
    // Marks are taken as given, also outside the frame range (as loaded from the settings).
    void setBeginMark(int frame) { m_beginMark = frame; }
    void setEndMark(int frame) { m_endMark = frame; }
    int framesPerSecond() const { return m_reader.facts().framesPerSecond; }
    // When a frame is shown, counted from the start of the stream's time line: by its number at
    // the stream's rate, or, where the frames do not keep one rate, by the container's own
    // presentation times counted from the first frame.
    std::chrono::nanoseconds frameTime(int frame) const { return m_reader.frameTime(frame); }
    // Whether the frames carry their own times (every container but AVI), and whether those keep
    // one rate.
    bool hasTimestamps() const { return m_reader.facts().hasTimestamps; }
    bool hasConstantRate() const { return m_reader.facts().constantRate; }
    // From the first frame's start to the last frame's end.
    std::chrono::nanoseconds duration() const { return m_reader.facts().duration; }
    // Samples per second as rate / scale, as the stream's header gives them.
    std::uint32_t rate() const { return m_reader.facts().rate; }
    std::uint32_t scale() const { return m_reader.facts().scale; }
    bool stopRequested() const { return m_stopRequested; }
    bool closeAfterStop() const { return m_closeAfterStop; }

    // The frame decoded last as a packed 24-bit DIB in the image's exact layout; null when none
    // was or it could not be decoded. Valid until the next decode or Close.
    const std::uint8_t* decodedFrame() { return m_reader.packedDib(); }
    // The export image: 24-bit, width x height, the buffer frames are copied into to be saved.
    CDibImage& image() { return m_image; }
    const CDibImage& image() const { return m_image; }
    FrameDisplay* displayWindow() const { return m_displayWindow; }
    FrameSourceOwner* ownerWindow() const { return m_ownerWindow; }

private:
    // The common start of the loops: asks a running one to stop, then takes the new state.
    // False when nothing is open.
    bool beginLoop(int state);
    void endLoop();
    bool loopMustEnd() const;
    void showProgress();
    // Playback shows the frame `frame` frames after the schedule's own at start + that many
    // frame times.
    struct PlaybackSchedule
    {
        PlaybackClock::Time start;
        int frame = 0;
    };
    bool waitForNextFrame(PlaybackSchedule& schedule);
    void PumpMessages();
    void runIdleUpdate();
    void setFrameText(FrameTextControl control, int frame);

    int m_state = StateClosed;
    VideoReader m_reader; // the file, its video stream and frame decoder
    CDibImage m_image;
    FrameDisplay* m_displayWindow = nullptr;
    FrameSourceOwner* m_ownerWindow = nullptr;
    int m_beginMark = 0;
    int m_endMark = 0;
    int m_currentFrame = 0;
    // The frame idle work ended at last, done or given up: not tried again.
    std::optional<int> m_idleWorkEnded;
    bool m_stopRequested = false;
    bool m_closeAfterStop = false;

    RecordingFormat m_recordingFormat;
    std::function<void()> m_messagePump;
    std::function<void()> m_idleUpdate;
    PlaybackClock* m_playbackClock = nullptr;
    std::optional<Error> m_openError;
};
