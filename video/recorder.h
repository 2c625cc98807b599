#pragma once

#include "image/image_format.h"
#include "platform/error.h"
#include "video/file_name_pattern.h"
#include "video/recording_manifest.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class FrameSaveQueue;
class SceneChangeFinder;
class VideoReader;

// A scene change is a mean absolute difference of luma (0 to 255) above this between the small
// copies of two pictures in a row; see SceneChangeFinder.
inline constexpr int kDefaultSceneThreshold = 24;

// Which frames of a range a recording saves.
enum class FrameChoice
{
    EveryStep,    // every step-th
    EverySeconds, // the first at or after each multiple of seconds from the range's start
    KeyFrames,    // the key frames, and nothing else is decoded
    SceneChanges, // the first of each shot, as SceneChangeFinder tells them
};

// How frames are written: those chosen of a recording, under these names, in this format, JPEG
// at this quality.
struct RecordingFormat
{
    FrameChoice choice = FrameChoice::EveryStep;
    std::int64_t step = 1;
    double seconds = 1;
    int sceneThreshold = kDefaultSceneThreshold;
    ImageFormat format = ImageFormat::Bmp;
    int quality = kDefaultJpegQuality;
    // Whether JPEG and PNG files name the video, the frame and its time (see ProvenanceOf).
    bool provenance = false;
    FileNamePattern names;
    // Whether a recording lists the files it wrote in frames.csv beside them.
    bool manifest = false;
};

// What a recording writes: the frames chosen from `from` to `to` (never beyond the last) as
// folder/000123.jpg and so on, or under the names of another pattern.
struct RecordOptions
{
    std::string folder;
    int from = 0;
    int to = 0;
    RecordingFormat writing;
    // Every frame is decoded, as a window that shows each of them needs; otherwise only the
    // frames saved and those their conversion needs.
    bool decodeEveryFrame = false;
};

struct RecordResult
{
    int saved = 0;              // images written
    int undecodable = 0;        // frames due to be saved that could not be decoded, and so were not
    std::optional<Error> error; // why the recording ended early
    bool listed = false;        // the manifest, when asked for, was written
};

// A recording of an open video, stepped by its caller one frame at a time: decode(), then
// whatever the caller shows of the frame, then save(). The files are written on worker threads
// while the next frames are decoded; they appear whole and in frame order, and all of them are on
// disk when finish() returns. A file that can't be written ends the recording with the reason,
// and no later file appears; a frame that can't be decoded is passed over and counted. The
// manifest, when asked for, is written by finish() and lists the files that reached the folder,
// however the recording ended.
class Recorder
{
public:
    // whileWaiting runs whenever the recording waits for its workers, at least every few
    // milliseconds.
    Recorder(VideoReader& reader, RecordOptions options, std::function<void()> whileWaiting);
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // The frame the next step is about.
    int frame() const { return m_frame; }
    // Whether the frame is one to be saved; for scene changes, known once it is decoded.
    bool isDue() const;
    // True once every frame of the range was handled or a file could not be written.
    bool finished() const;
    // Decodes the frame when it is due or every frame is decoded (as for scene changes).
    void decode();
    // Hands the frame decoded over to be saved when it is due, puts the files saved meanwhile
    // in place, and moves on to the next frame.
    void save();
    // Waits for every frame handed over, and says what came of them all.
    RecordResult finish();

    // The frames handled up to now, and all there are to handle.
    std::int64_t framesDone() const { return std::int64_t(m_frame) - m_options.from; }
    std::int64_t framesInRange() const { return std::int64_t(m_last) - m_options.from + 1; }

private:
    void chooseFrames();
    void listPublished(const std::string& path);

    VideoReader& m_reader;
    RecordOptions m_options;
    int m_last;
    int m_frame;
    bool m_ended = false;
    int m_undecodable = 0;
    std::optional<RecordResult> m_result; // once finished
    std::unique_ptr<FrameSaveQueue> m_queue;
    // Seconds and key frames: the frames chosen, ascending, and the next one's place.
    std::vector<int> m_chosen;
    std::size_t m_nextChosen = 0;
    std::unique_ptr<SceneChangeFinder> m_scenes;
    bool m_beginsShot = false; // of the frame decoded last, for scene changes
    int m_handedOver = 0;
    // The manifest's rows of the files handed over and not yet in place, in their order, and
    // of those in place.
    std::deque<std::pair<std::string, ManifestRow>> m_pendingRows;
    std::vector<ManifestRow> m_rows;
};

// Runs a whole recording: after each frame, progress(frame) runs, and the recording ends early
// when stop() says so.
RecordResult RecordFrames(VideoReader& reader, const RecordOptions& options,
                          const std::function<void(int)>& progress,
                          const std::function<bool()>& stop);
