#include "ffmpeg_tool.h"
#include "raw_avi.h"
#include "recording_owner.h"
#include "settings/settings.h"
#include "source/frame_source.h"
#include "support/faults.h"
#include "support/temp_dir.h"
#include "video/frame_export.h"

#include "image/dib_image.h"
#include "image/png_codec.h"
#include "platform/exception.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

class FrameSourceLoopsTest : public ::testing::Test
{
protected:
    FrameSourceLoopsTest() : m_settings(m_dir.file("clipmint.ini"))
    {
        fs::create_directories(m_out);
        m_source.setMessagePump([this] { ++m_pumps; });
    }

    void open(int frames, int width = 4, int height = 2)
    {
        std::int64_t bitrate = 0;
        const std::string path =
            writeRawAvi(m_dir.file("video.avi"), makeRawAvi(width, height, frames));
        ASSERT_TRUE(m_source.Open(path, &m_display, &m_owner, bitrate, WantFrames::Yes));
    }

    void emptyOut()
    {
        fs::remove_all(m_out);
        fs::create_directories(m_out);
    }

    std::vector<std::string> written() const
    {
        std::vector<std::string> names;
        if (fs::exists(m_out))
            for (const auto& entry : fs::directory_iterator(m_out))
                names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    TempDir m_dir;
    std::string m_out = m_dir.file("out");
    CSettings m_settings;
    RecordingOwner m_owner;
    RecordingDisplay m_display;
    CFrameSource m_source;
    int m_pumps = 0;
};

} // namespace

TEST(FrameExport, RecordedNamesJoinFolderNumberAndExtension)
{
    EXPECT_EQ(RecordedFileName("/tmp/out", 7, ".jpg"), "/tmp/out/000007.jpg");
    EXPECT_EQ(RecordedFileName("/tmp/out/", 7, ".jpg"), "/tmp/out/000007.jpg");
    EXPECT_EQ(RecordedFileName("out", 1234567, ".png"), "out/1234567.png");
    EXPECT_EQ(RecordedExtension(1), ".jpg");
    EXPECT_EQ(RecordedExtension(2), ".png");
    EXPECT_EQ(RecordedExtension(0), ".bmp");
    EXPECT_EQ(RecordedExtension(7), ".bmp");
}

TEST_F(FrameSourceLoopsTest, RecordSavesEveryStepthFrameOfTheRange)
{
    open(31);
    m_settings.SetOption(OPTION_EVERY_FRAME, 4);
    m_settings.SetOption(OPTION_JPEG, 1);
    m_source.setRecordingFormat(RecordingFormatOf(m_settings));
    const RecordResult result = m_source.Record(m_out + "/", 10, 30);
    EXPECT_EQ(result.saved, 5);
    EXPECT_FALSE(result.error);
    EXPECT_EQ(written(), (std::vector<std::string>{"000010.jpg", "000015.jpg", "000020.jpg",
                                                   "000025.jpg", "000030.jpg"}));
    EXPECT_EQ(m_source.currentFrame(), 30);
    EXPECT_EQ(m_source.state(), CFrameSource::StateIdle);
    // The seek to the start draws it, then every frame of the range is drawn, saved or not.
    EXPECT_EQ(m_display.draws, 1 + 21);
    EXPECT_EQ(m_owner.texts[FrameTextControl::CurrentFrame].substr(0, 3), "30 ");

    // A range past the end stops at the last frame.
    emptyOut();
    m_settings.SetOption(OPTION_EVERY_FRAME, 0);
    m_settings.SetOption(OPTION_JPEG, 7);
    m_source.setRecordingFormat(RecordingFormatOf(m_settings));
    EXPECT_EQ(m_source.Record(m_out, 29, 1000).saved, 2);
    EXPECT_EQ(written(), (std::vector<std::string>{"000029.bmp", "000030.bmp"}));
}

TEST_F(FrameSourceLoopsTest, SavedFramesHoldTheDecodedPixels)
{
    open(3);
    m_settings.SetOption(OPTION_JPEG, 0);
    m_source.setRecordingFormat(RecordingFormatOf(m_settings));
    ASSERT_EQ(m_source.Record(m_out, 1, 1).saved, 1);
    CDibImage saved;
    ASSERT_EQ(saved.LoadBmp(m_out + "/000001.bmp"), 1);
    const std::vector<std::uint8_t> pixels(saved.PixelData(),
                                           saved.PixelData() + saved.Stride() * saved.Height());
    EXPECT_EQ(pixels, m_display.pixels);
}

TEST_F(FrameSourceLoopsTest, MarkedRangesOfOneFrameOrNone)
{
    open(200);
    EXPECT_EQ(m_source.Record(m_out, 0, 0).saved, 1);
    EXPECT_EQ(written(), (std::vector<std::string>{"000000.bmp"}));

    emptyOut();
    m_source.setBeginMark(100);
    m_source.setEndMark(50);
    EXPECT_EQ(m_source.Record(m_out, m_source.beginMark(), m_source.endMark()).saved, 0);
    EXPECT_EQ(m_source.currentFrame(), 100);
    EXPECT_TRUE(written().empty());
}

TEST_F(FrameSourceLoopsTest, StopKeepsWhatWasWrittenAndCancelFollowsAClosingStop)
{
    open(20);
    m_source.setMessagePump([this] {
        if (m_source.currentFrame() == 5)
            m_source.RequestStop(CloseAfterStop::Yes);
    });
    const RecordResult result = m_source.Record(m_out, 0, 19);
    // The frames before the one in hand are all on disk, whole, and nothing else is.
    EXPECT_EQ(result.saved, 5);
    ASSERT_EQ(written(), (std::vector<std::string>{"000000.bmp", "000001.bmp", "000002.bmp",
                                                   "000003.bmp", "000004.bmp"}));
    for (const std::string& name : written()) {
        CDibImage image;
        EXPECT_EQ(image.LoadBmp(m_out + "/" + name), 1) << name;
    }
    EXPECT_EQ(m_source.currentFrame(), 5);
    EXPECT_EQ(m_source.state(), CFrameSource::StateIdle);
    EXPECT_EQ(m_owner.cancels, 1);

    // A new loop clears the old request.
    m_source.setMessagePump([] {});
    m_source.Play();
    EXPECT_EQ(m_source.currentFrame(), 19);
    EXPECT_EQ(m_owner.cancels, 1);
}

TEST_F(FrameSourceLoopsTest, PlayRunsToTheLastFrame)
{
    open(5);
    std::vector<int> states;
    int idleUpdates = 0;
    m_source.setIdleUpdate([&] { ++idleUpdates; });
    m_source.setMessagePump([&] { states.push_back(m_source.state()); });
    m_source.Seek(2);
    m_display.draws = 0;
    m_source.Play();
    EXPECT_EQ(m_display.draws, 3);
    EXPECT_EQ(m_source.currentFrame(), 4);
    EXPECT_EQ(idleUpdates, 1);
    EXPECT_EQ(states.back(), CFrameSource::StatePlaying);
    EXPECT_EQ(m_source.state(), CFrameSource::StateIdle);

    // On the last frame it draws that frame once.
    m_source.Play();
    EXPECT_EQ(m_display.draws, 4);
    EXPECT_EQ(m_owner.sliderPositions.back(), 4);
}

namespace {

// Moves only when it is waited on, so that playback's pace can be read off it.
class SteppingClock : public PlaybackClock
{
public:
    Time now() const override { return m_now; }
    void waitUntil(Time deadline) override { m_now = std::max(m_now, deadline); }

    Time m_now{};
};

} // namespace

TEST_F(FrameSourceLoopsTest, PlaybackKeepsTheStreamsRateAndNeverRacesToCatchUp)
{
    using std::chrono::milliseconds;
    open(50); // 25 frames a second
    SteppingClock clock;
    m_source.setPlaybackClock(&clock);
    std::vector<long> shownAt; // ms, after each frame is drawn
    m_source.setMessagePump([&] {
        shownAt.push_back(std::chrono::duration_cast<milliseconds>(clock.m_now).count());
        // Frame 10 takes 200 ms longer than its time to decode.
        if (shownAt.size() == 11)
            clock.m_now += milliseconds(200);
    });
    m_source.Play();

    ASSERT_EQ(shownAt.size(), 50u);
    for (size_t frame = 0; frame <= 10; ++frame)
        EXPECT_EQ(shownAt[frame], 40 * long(frame)) << frame;
    // Frame 11 comes as soon as it can, and the rate holds from there.
    for (size_t frame = 11; frame < 50; ++frame)
        EXPECT_EQ(shownAt[frame], 600 + 40 * long(frame - 11)) << frame;
}

// Frames of a variable rate are shown, and their texts tell, at their own times.
TEST(FrameSourcePlayback, VariableRateFramesArePlayedAndNamedAtTheirOwnTimes)
{
    using std::chrono::milliseconds;
    TempDir dir;
    const std::string path = makeVariableRateVideo(dir.file("variable.mkv"));
    ASSERT_FALSE(path.empty());
    RecordingOwner owner;
    CFrameSource source;
    std::int64_t bitrate = 0;
    ASSERT_TRUE(source.Open(path, nullptr, &owner, bitrate, WantFrames::Yes));
    EXPECT_FALSE(source.hasConstantRate());
    EXPECT_EQ(source.duration(), std::chrono::seconds(8));
    EXPECT_EQ(owner.texts[FrameTextControl::LastFrame], "124 00:00:07.920");
    EXPECT_EQ(source.FormatFrameText(51), "51 00:00:02.080");

    SteppingClock clock;
    source.setPlaybackClock(&clock);
    std::vector<long> shownAt;
    source.setMessagePump(
        [&] { shownAt.push_back(std::chrono::duration_cast<milliseconds>(clock.m_now).count()); });
    source.Play();
    ASSERT_EQ(shownAt.size(), 125u);
    EXPECT_EQ(shownAt[49], 1960);
    EXPECT_EQ(shownAt[50], 2000);
    EXPECT_EQ(shownAt[124], 7920);
}

TEST_F(FrameSourceLoopsTest, ClosingInsideALoopEndsItWithoutTouchingTheDecoder)
{
    open(10);
    m_source.setMessagePump([this] { m_source.Close(); });
    m_source.Play();
    EXPECT_EQ(m_source.state(), CFrameSource::StateClosed);
    EXPECT_EQ(m_source.Record(m_out, 0, 9).saved, 0);
    m_source.Play(); // closed: nothing happens
}

TEST_F(FrameSourceLoopsTest, WriteFailuresEndTheRecordingWithTheReason)
{
    // A folder stands in the way of the fourth frame, while later frames are being saved already:
    // none of them appears, and every file before it stays.
    open(10);
    fs::create_directories(m_out + "/000003.bmp");
    const RecordResult full = m_source.Record(m_out, 0, 9);
    EXPECT_EQ(full.saved, 3);
    ASSERT_TRUE(full.error);
    EXPECT_NE(EnglishText(*full.error).find("000003.bmp. Is a directory"), std::string::npos);
    EXPECT_EQ(m_source.state(), CFrameSource::StateIdle);
    EXPECT_EQ(written(),
              (std::vector<std::string>{"000000.bmp", "000001.bmp", "000002.bmp", "000003.bmp"}));

    // The folder vanishes before the first frame is saved.
    m_source.setMessagePump([this] { fs::remove_all(m_dir.file("gone")); });
    fs::create_directories(m_dir.file("gone"));
    const RecordResult gone = m_source.Record(m_dir.file("gone"), 0, 9);
    EXPECT_EQ(gone.saved, 0);
    ASSERT_TRUE(gone.error);
    EXPECT_NE(EnglishText(*gone.error).find("No such file or directory"), std::string::npos);
    EXPECT_EQ(m_source.state(), CFrameSource::StateIdle);

    // JPEG errors come with the library's text.
    m_settings.SetOption(OPTION_JPEG, 1);
    m_source.setRecordingFormat(RecordingFormatOf(m_settings));
    m_source.setMessagePump([] {});
    const FileSizeLimit diskFull(16);
    const RecordResult jpeg = m_source.Record(m_out, 0, 9);
    ASSERT_TRUE(jpeg.error);
    EXPECT_EQ(EnglishText(*jpeg.error), "Sorry, can't write the file " + m_out +
                                            "/000000.jpg. Output file write error --- out of "
                                            "disk space?");
}

// Frames saved on the workers, from the pixels on the screen or from the decoder's picture when
// nothing shows them (then the frames between the saved ones are not even decoded), are the
// files that Save Current Image writes of the same frames.
TEST(FrameSourceRecording, RecordedFilesAreTheBytesOfSaveCurrentImage)
{
    TempDir dir;
    const std::string video =
        makeTestVideo(dir.file("mpeg4.avi"), "64x48", "25", 60, "-c:v mpeg4 -bf 2 -g 24");
    ASSERT_FALSE(video.empty());
    CSettings settings(dir.file("clipmint.ini"));
    settings.SetOption(OPTION_JPEG_QUALITY, 90);
    RecordingOwner owner;
    RecordingDisplay display;
    const std::string out = dir.file("out");
    struct Case
    {
        int format;
        FrameDisplay* shown;
        int from;
        int step;
    };
    for (const Case& c : {Case{1, nullptr, 0, 1}, Case{2, nullptr, 0, 1}, Case{0, nullptr, 0, 1},
                          Case{1, &display, 0, 1}, Case{2, &display, 0, 1}, Case{0, &display, 0, 1},
                          Case{1, nullptr, 1, 3}}) {
        SCOPED_TRACE(testing::Message()
                     << "format " << c.format << (c.shown ? " shown" : "") << " every " << c.step);
        settings.SetOption(OPTION_JPEG, c.format);
        settings.SetOption(OPTION_EVERY_FRAME, c.step - 1);
        CFrameSource source;
        source.setRecordingFormat(RecordingFormatOf(settings));
        // As in clipmint-cli: nothing kept, so that no frame is decoded for the cache.
        source.setFrameCacheBudget(0);
        std::int64_t bitrate = 0;
        ASSERT_TRUE(source.Open(video, c.shown, &owner, bitrate, WantFrames::Yes));
        fs::remove_all(out);
        fs::create_directories(out);
        ASSERT_EQ(source.Record(out, c.from, 59).saved, (59 - c.from) / c.step + 1);
        const std::string_view extension = RecordedExtension(c.format);
        const std::string single = dir.file("single") + std::string(extension);
        for (int frame = 59; frame >= c.from; --frame) {
            if ((frame - c.from) % c.step != 0)
                continue;
            source.ShowFrame(frame, nullptr);
            ASSERT_TRUE(source.SaveCurrentFrame(single));
            EXPECT_EQ(ReadBytes(RecordedFileName(out, frame, extension)), ReadBytes(single))
                << "frame " << frame;
        }
    }
}

TEST_F(FrameSourceLoopsTest, SaveCurrentFrameWritesTheTypeTheNameAsksFor)
{
    open(3);
    const auto failure = [this](const std::string& name) {
        const Outcome saved = m_source.SaveCurrentFrame(m_dir.file(name));
        return saved ? std::optional<Failure>() : saved.error().what;
    };
    EXPECT_EQ(failure("nothing.jpg"), Failure::NothingDecoded);
    m_source.Seek(1);
    EXPECT_EQ(failure("shot.JPEG"), std::nullopt);
    EXPECT_EQ(failure("shot.dib"), std::nullopt);
    EXPECT_EQ(failure("shot.png"), std::nullopt);
    EXPECT_EQ(failure("shot.gif"), Failure::NotAnImageType);
    EXPECT_FALSE(fs::exists(m_dir.file("shot.gif")));
    CDibImage bmp;
    EXPECT_EQ(bmp.LoadBmp(m_dir.file("shot.dib")), 1);
    const Outcome missing = m_source.SaveCurrentFrame(m_dir.file("missing/shot.png"));
    ASSERT_FALSE(missing);
    EXPECT_NE(EnglishText(missing.error()).find("No such file"), std::string::npos);
}

TEST_F(FrameSourceLoopsTest, AVideoCutWhileOpenShowsAndSavesTheFramesBeforeTheCut)
{
    open(20, 64, 48); // frames larger than what the reader holds at once
    // Cut the file inside the chunk of frame 12, as a copy still in progress would be.
    const std::string path = m_dir.file("video.avi");
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    auto chunk = bytes.begin();
    for (int frame = 0; frame <= 12; ++frame)
        chunk = std::search(chunk + 1, bytes.end(), "00db", "00db" + 4);
    fs::resize_file(path, static_cast<std::uintmax_t>(chunk - bytes.begin()) + 12);

    m_source.Seek(15);
    EXPECT_EQ(m_source.decodedFrame(), nullptr);
    EXPECT_TRUE(m_display.pixels.empty()); // no picture of another frame under its number
    m_source.Seek(4);
    EXPECT_NE(m_source.decodedFrame(), nullptr);

    m_settings.SetOption(OPTION_JPEG, 2);
    m_source.setRecordingFormat(RecordingFormatOf(m_settings));
    const RecordResult result = m_source.Record(m_out, 0, 19);
    EXPECT_EQ(result.saved, 12);
    EXPECT_EQ(result.undecodable, 8);
    EXPECT_FALSE(result.error);
    EXPECT_EQ(m_source.state(), CFrameSource::StateIdle);
    ASSERT_EQ(written().size(), 12u);
    for (const std::string& name : written()) {
        CDibImage image;
        EXPECT_EQ(LoadPng(m_out + "/" + name, image), 1) << name;
    }
}
