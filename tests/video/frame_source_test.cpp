#include "ffmpeg_tool.h"
#include "raw_avi.h"
#include "recording_owner.h"
#include "source/frame_source.h"

#include "image/dib.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

class FrameSourceTest : public ::testing::Test
{
protected:
    bool open(const RawAvi& avi, WantFrames wantFrames = WantFrames::Yes)
    {
        return open(writeRawAvi(m_dir.file("video.avi"), avi), wantFrames);
    }
    bool open(const std::string& path, WantFrames wantFrames = WantFrames::Yes)
    {
        return m_source.Open(path, &m_display, &m_owner, m_bitrate, wantFrames);
    }

    TempDir m_dir;
    RecordingOwner m_owner;
    RecordingDisplay m_display;
    CFrameSource m_source;
    std::int64_t m_bitrate = -1;
};

} // namespace

TEST_F(FrameSourceTest, OpenTakesTheStreamsRangeAndShowsItsTextsAndSeekStaysInside)
{
    RawAvi avi = makeRawAvi(6, 4, 100);
    avi.start = 5;
    ASSERT_TRUE(open(avi));
    EXPECT_EQ(m_source.state(), CFrameSource::StateIdle);
    EXPECT_TRUE(m_source.hasDecoder());
    EXPECT_EQ(m_source.path(), m_dir.file("video.avi"));
    EXPECT_EQ(m_source.firstFrame(), 5);
    EXPECT_EQ(m_source.lastFrame(), 104);
    EXPECT_EQ(m_source.beginMark(), 5);
    EXPECT_EQ(m_source.endMark(), 104);
    EXPECT_EQ(m_source.currentFrame(), 5);
    EXPECT_EQ(m_source.GetFrameRect(), (FrameRect{0, 0, 6, 4}));
    EXPECT_EQ(m_source.image().Stride(), 20);
    EXPECT_EQ(m_owner.texts[FrameTextControl::FirstFrame], "5 00:00:00.200");
    EXPECT_EQ(m_owner.texts[FrameTextControl::LastFrame], "104 00:00:04.160");
    EXPECT_EQ(m_owner.texts[FrameTextControl::BeginMark], "5 00:00:00.200");
    EXPECT_EQ(m_owner.texts[FrameTextControl::EndMark], "104 00:00:04.160");
    EXPECT_EQ(m_owner.texts[FrameTextControl::CurrentFrame], "5 00:00:00.200");
    EXPECT_EQ(m_display.draws, 0);

    int pumps = 0;
    m_source.setMessagePump([&] { ++pumps; });
    m_source.Seek(4);
    m_source.Seek(105);
    m_source.Seek(m_source.FindKeyFrame(105, SearchDirection::Forward));
    EXPECT_EQ(m_source.currentFrame(), 5);
    EXPECT_EQ(m_display.draws, 0);

    m_source.Seek(50);
    EXPECT_EQ(m_source.currentFrame(), 50);
    EXPECT_EQ(m_display.pixels, avi.frames[45]);
    EXPECT_EQ(m_owner.sliderPositions, std::vector<int>{50});
    EXPECT_EQ(m_owner.texts[FrameTextControl::CurrentFrame], "50 00:00:02.000");
    EXPECT_EQ(pumps, 1);
    EXPECT_EQ(m_owner.waitCursorDepth, 0);
    ASSERT_NE(m_source.decodedFrame(), nullptr);
    EXPECT_EQ(DibPixelWidth(m_source.decodedFrame()), 6);
}

TEST_F(FrameSourceTest, FrameTextsAndFramesPerSecondFollowRateAndScale)
{
    EXPECT_EQ(m_source.FormatFrameText(7), "7 00:00:00.000"); // nothing open

    ASSERT_TRUE(open(makeRawAvi(1, 1, 2)));
    EXPECT_EQ(m_source.framesPerSecond(), 25);
    EXPECT_EQ(m_source.FormatFrameText(0), "0 00:00:00.000");
    EXPECT_EQ(m_source.FormatFrameText(1500), "1500 00:01:00.000");
    EXPECT_EQ(m_source.FormatFrameText(2250000), "2250000 25:00:00.000");

    RawAvi avi = makeRawAvi(1, 1, 2);
    avi.rate = 1000;
    ASSERT_TRUE(open(avi));
    EXPECT_EQ(m_source.FormatFrameText(3723004), "3723004 01:02:03.004");
    m_source.ShowCurrentText(61);
    EXPECT_EQ(m_owner.texts[FrameTextControl::CurrentFrame], "61 00:00:00.061");
    EXPECT_EQ(m_source.currentFrame(), 0);

    for (auto [rate, scale, expected] :
         {std::tuple{30000u, 1001u, 30}, {2997u, 100u, 30}, {10u, 1u, 10}, {24000u, 1001u, 24}}) {
        avi.rate = rate;
        avi.scale = scale;
        ASSERT_TRUE(open(avi));
        EXPECT_EQ(m_source.framesPerSecond(), expected) << rate << "/" << scale;
    }
}

TEST_F(FrameSourceTest, TheTitleBitrateIsBytesPerSecondInUnitsOf128)
{
    RawAvi avi = makeRawAvi(1, 1, 105);
    avi.rate = 10; // the last frame starts at 10.4 s
    avi.padTo = 1280000;
    const std::string path = writeRawAvi(m_dir.file("bitrate.avi"), avi);
    ASSERT_EQ(std::filesystem::file_size(path), 1280000u);
    ASSERT_TRUE(open(path, WantFrames::No));
    EXPECT_EQ(m_bitrate, 1000);

    // Shorter than a second: its bytes over its duration, five frames at 25 a second.
    ASSERT_TRUE(open(makeRawAvi(1, 1, 5)));
    EXPECT_EQ(m_source.duration(), std::chrono::milliseconds(200));
    EXPECT_EQ(m_bitrate,
              std::int64_t(std::filesystem::file_size(m_dir.file("video.avi"))) * 5 / 128);
}

TEST_F(FrameSourceTest, KeyFrameSearchSkipsDroppedFramesAndSeekShowsThePictureBefore)
{
    RawAvi avi = makeRawAvi(4, 2, 6);
    avi.frames[2].clear();
    ASSERT_TRUE(open(avi));
    EXPECT_EQ(m_source.FindKeyFrame(2, SearchDirection::Forward), 3);
    EXPECT_EQ(m_source.FindKeyFrame(2, SearchDirection::Backward), 1);
    EXPECT_EQ(m_source.FindKeyFrame(6, SearchDirection::Forward), -1);
    EXPECT_EQ(m_source.FindKeyFrame(-1, SearchDirection::Backward), -1);
    m_source.Seek(2);
    EXPECT_EQ(m_display.pixels, avi.frames[1]);
}

TEST_F(FrameSourceTest, ASingleFrameVideoRedrawsItsOnlyFrame)
{
    const std::string path = makeTestVideo(m_dir.file("one.avi"), "16x16", "25", 1, "-c:v mjpeg");
    ASSERT_FALSE(path.empty());
    ASSERT_TRUE(open(path));
    EXPECT_EQ(m_source.firstFrame(), 0);
    EXPECT_EQ(m_source.lastFrame(), 0);
    m_source.Seek(0);
    m_source.Seek(0);
    EXPECT_EQ(m_display.draws, 2);
    EXPECT_NE(m_source.decodedFrame(), nullptr);
}

TEST_F(FrameSourceTest, TheScanSendsTheIndexSizesAndStopsWhenAsked)
{
    RawAvi avi = makeRawAvi(4, 2, 6);
    avi.frames[2].clear();
    ASSERT_TRUE(open(avi, WantFrames::No));
    EXPECT_FALSE(m_source.hasDecoder());
    EXPECT_EQ(m_owner.textCalls, 0);
    // The sizes come from the index read at open: the frames' data is never read.
    std::filesystem::resize_file(m_dir.file("video.avi"), 0);

    int idleUpdates = 0;
    std::vector<int> statesInPump;
    m_source.setIdleUpdate([&] { ++idleUpdates; });
    m_source.setMessagePump([&] { statesInPump.push_back(m_source.state()); });
    EXPECT_TRUE(m_source.ScanSampleSizes());
    EXPECT_EQ(m_owner.sizes, (std::vector<std::uint32_t>{24, 24, 0, 24, 24, 24}));
    EXPECT_EQ(m_source.currentFrame(), 6);
    EXPECT_EQ(m_source.state(), CFrameSource::StateIdle);
    EXPECT_EQ(idleUpdates, 1);
    EXPECT_EQ(statesInPump, std::vector<int>(6, CFrameSource::StatePlaying));

    m_source.Seek(1);
    m_owner.sizes.clear();
    m_source.setMessagePump([&] {
        if (m_owner.sizes.size() == 3)
            m_source.RequestStop(CloseAfterStop::Yes);
    });
    EXPECT_FALSE(m_source.ScanSampleSizes());
    EXPECT_EQ(m_owner.sizes.size(), 3u);
    EXPECT_EQ(m_source.currentFrame(), 3);
    EXPECT_EQ(m_source.state(), CFrameSource::StateIdle);
    EXPECT_TRUE(m_source.closeAfterStop());

    m_source.RequestStop(CloseAfterStop::No); // idle: no effect
    EXPECT_TRUE(m_source.closeAfterStop());
    m_source.setMessagePump([&] { m_source.Close(); });
    EXPECT_FALSE(m_source.ScanSampleSizes());
    EXPECT_EQ(m_source.state(), CFrameSource::StateClosed);
    EXPECT_FALSE(m_source.ScanSampleSizes());
}

TEST_F(FrameSourceTest, CloseAndFailedOpensLeaveNothingOpenButTheOwnersTexts)
{
    ASSERT_TRUE(open(makeRawAvi(4, 2, 10)));
    m_source.Seek(3);
    const int textCalls = m_owner.textCalls;
    m_source.Close();
    EXPECT_EQ(m_source.state(), CFrameSource::StateClosed);
    EXPECT_TRUE(m_source.path().empty());
    EXPECT_EQ(m_source.GetFrameRect(), FrameRect{});
    EXPECT_EQ(m_source.lastFrame(), 0);
    EXPECT_EQ(m_source.currentFrame(), 0);
    EXPECT_EQ(m_source.endMark(), 0);
    EXPECT_EQ(m_source.decodedFrame(), nullptr);
    EXPECT_TRUE(m_source.image().IsEmpty());
    EXPECT_EQ(m_source.Redraw(), 0);
    EXPECT_EQ(m_owner.textCalls, textCalls);

    ASSERT_TRUE(open(makeRawAvi(4, 2, 10)));
    const std::string text = "not a video";
    WriteBytes(m_dir.file("text.avi"), {text.begin(), text.end()});
    EXPECT_FALSE(open(m_dir.file("text.avi")));
    EXPECT_EQ(m_source.state(), CFrameSource::StateClosed);
    EXPECT_TRUE(m_source.path().empty());
    EXPECT_TRUE(m_source.openError());
    EXPECT_FALSE(open(makeRawAvi(4, 2, 0))); // a header without a single frame
}

TEST_F(FrameSourceTest, WithoutADecoderFramesAreNeitherDrawnNorKept)
{
    RawAvi avi = makeRawAvi(4, 2, 3);
    avi.compression = 0x5A5A5A5A; // "ZZZZ", which no decoder knows
    ASSERT_TRUE(open(avi));
    EXPECT_FALSE(m_source.hasDecoder());
    EXPECT_TRUE(m_source.openError());
    EXPECT_EQ(m_source.lastFrame(), 2);
    m_source.Seek(1);
    EXPECT_EQ(m_source.currentFrame(), 1);
    EXPECT_EQ(m_display.draws, 0);
    EXPECT_EQ(m_source.decodedFrame(), nullptr);
}
