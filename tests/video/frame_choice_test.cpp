// Which frames a recording saves: by time, key frames alone, and the first of each shot.

#include "support/temp_dir.h"
#include "video/ffmpeg_tool.h"
#include "video/recorder.h"
#include "video/video_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

// The frame numbers of the files in folder, ascending.
std::vector<int> savedFrames(const std::filesystem::path& folder)
{
    std::vector<int> frames;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        frames.push_back(std::stoi(entry.path().stem().string()));
    std::sort(frames.begin(), frames.end());
    return frames;
}

std::vector<int> record(const TempDir& dir, const std::string& video, RecordingFormat writing)
{
    VideoReader reader;
    EXPECT_TRUE(reader.open(video, WantFrames::Yes));
    const std::string folder = dir.file("out");
    std::filesystem::create_directory(folder);
    RecordOptions options{folder, reader.facts().firstFrame, reader.facts().lastFrame, writing,
                          false};
    const RecordResult result = RecordFrames(
        reader, options, [](int) {}, [] { return false; });
    EXPECT_FALSE(result.error);
    EXPECT_EQ(result.undecodable, 0);
    return savedFrames(folder);
}

} // namespace

TEST(FrameChoiceTest, EverySecondsTakesTheFirstFrameAtOrAfterEachMultipleOnAVariableRate)
{
    TempDir dir;
    const std::string video = makeVariableRateVideo(dir.file("variable.mkv"));
    ASSERT_FALSE(video.empty());
    RecordingFormat writing;
    writing.choice = FrameChoice::EverySeconds;
    writing.seconds = 1;
    // 25 frames a second up to frame 50 (2 s), 12.5 a second after it.
    EXPECT_EQ(record(dir, video, writing), (std::vector<int>{0, 25, 50, 63, 75, 88, 100, 113}));
}

TEST(FrameChoiceTest, KeyFramesAloneAreSaved)
{
    TempDir dir;
    for (const char* name : {"keys.mp4", "keys.avi"}) {
        SCOPED_TRACE(name);
        const std::string video =
            makeTestVideo(dir.file(name), "64x48", "25", 45, "-c:v mpeg4 -g 10 -bf 2");
        ASSERT_FALSE(video.empty());
        RecordingFormat writing;
        writing.choice = FrameChoice::KeyFrames;
        writing.format = ImageFormat::Png;
        VideoReader reader;
        ASSERT_TRUE(reader.open(video, WantFrames::No));
        std::vector<int> keys;
        for (int key = reader.findKeyFrame(0, SearchDirection::Forward); key >= 0;
             key = reader.findKeyFrame(key + 1, SearchDirection::Forward))
            keys.push_back(key);
        ASSERT_GE(keys.size(), 4u);
        ASSERT_LT(keys.size(), 10u);
        EXPECT_EQ(record(dir, video, writing), keys);
        std::filesystem::remove_all(dir.file("out"));
    }
}

TEST(FrameChoiceTest, SceneChangesTakeTheFirstFrameOfEachShotAtMostEveryHalfSecond)
{
    TempDir dir;
    // Shots of a second each from 0, 25, 50 and 75; the last, 0.2 s later, comes too soon.
    const std::string video = dir.file("shots.mkv");
    ASSERT_TRUE(runFfmpeg("-f lavfi -i testsrc=size=64x48:rate=25:duration=1 "
                          "-f lavfi -i smptebars=size=64x48:rate=25:duration=1 "
                          "-t 1 -f lavfi -i mandelbrot=size=64x48:rate=25 "
                          "-f lavfi -i color=c=red:size=64x48:rate=25:duration=0.2 "
                          "-f lavfi -i color=c=blue:size=64x48:rate=25:duration=1 "
                          "-filter_complex [0][1][2][3][4]concat=n=5:v=1 -c:v ffv1 " +
                          video));
    RecordingFormat writing;
    writing.choice = FrameChoice::SceneChanges;
    EXPECT_EQ(record(dir, video, writing), (std::vector<int>{0, 25, 50, 75}));
}
