#include "ffmpeg_tool.h"
#include "raw_avi.h"
#include "video/av_stream_reader.h"
#include "video/index_cache.h"

#include "image/dib.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <numeric>
#include <random>

namespace {

namespace fs = std::filesystem;

// FFmpeg's warnings about the files these tests damage on purpose would bury the results.
class QuietFfmpeg : public ::testing::Environment
{
public:
    void SetUp() override { av_log_set_level(AV_LOG_FATAL); }
};

const ::testing::Environment* const kQuietFfmpeg =
    ::testing::AddGlobalTestEnvironment(new QuietFfmpeg);

std::vector<std::uint8_t> pixelsOf(const std::uint8_t* packedDib)
{
    if (packedDib == nullptr)
        return {};
    const auto bytes = static_cast<std::size_t>(DibStride(DibPixelWidth(packedDib), 24) *
                                                DibPixelHeight(packedDib));
    return {DibPixelData(packedDib), DibPixelData(packedDib) + bytes};
}

struct CodecCase
{
    const char* name;
    const char* file;
    const char* size;
    int frames;
    const char* codecOptions;
    // When set, the clip is copied into this file with the tool's stream copy and these options
    // before it is read, as cutting tools make files.
    const char* copiedTo = nullptr;
    const char* copyOptions = "";
};

void PrintTo(const CodecCase& codec, std::ostream* out)
{
    *out << codec.name;
}

class AvStreamReaderCodecs : public ::testing::TestWithParam<CodecCase>
{
protected:
    void SetUp() override
    {
        const CodecCase& codec = GetParam();
        const std::string encoder = std::strstr(codec.codecOptions, "libx264") ? "libx264" : "";
        if (!encoder.empty() && !ffmpegHasEncoder(encoder))
            GTEST_SKIP() << "ffmpeg has no " << encoder << " encoder";
        std::string path = makeTestVideo(m_dir.file(codec.file), codec.size, "25", codec.frames,
                                         codec.codecOptions);
        ASSERT_FALSE(path.empty()) << "ffmpeg could not make " << codec.file;
        if (codec.copiedTo) {
            const std::string copy = m_dir.file(codec.copiedTo);
            ASSERT_TRUE(
                runFfmpeg(std::string(codec.copyOptions) + " -i " + path + " -c copy " + copy));
            path = copy;
        }
        m_path = path;
        ASSERT_TRUE(m_reader.open(path)) << m_reader.errorText();
        ASSERT_TRUE(m_reader.openFrameDecoder()) << m_reader.errorText();
        m_expected = toolFrames(m_dir, path, m_reader.width(), m_reader.height());
        ASSERT_EQ(m_reader.streamLength(), static_cast<int>(m_expected.size()));
    }

    void expectFrame(int frame)
    {
        EXPECT_EQ(largestDifference(m_reader.getFrame(frame), m_expected.at(frame),
                                    m_reader.width(), m_reader.height()),
                  0)
            << "frame " << frame;
    }

    TempDir m_dir;
    std::string m_path;
    AvStreamReader m_reader;
    std::vector<ToolFrame> m_expected;
};

} // namespace

// Frame N must be the N-th picture the ffmpeg tool decodes, whether the frames are stepped
// through (which needs no seek after the first frame) or asked for in any order, and whether the
// decoder works on one picture at a time or, with frame threads, on several.
TEST_P(AvStreamReaderCodecs, FramesAreTheToolsPicturesSteppedOrJumpedTo)
{
    const int count = m_reader.streamLength();
    for (const DecoderThreading threading : {DecoderThreading::Slices, DecoderThreading::Frames}) {
        SCOPED_TRACE(threading == DecoderThreading::Frames ? "frame threads" : "slice threads");
        m_reader.setDecoderThreading(threading);
        const int seeks = m_reader.seekCount();
        for (int frame = 0; frame < count; ++frame)
            expectFrame(frame);
        EXPECT_EQ(m_reader.seekCount() - seeks, 1);

        std::vector<int> order(static_cast<std::size_t>(count));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), std::mt19937(20240611));
        for (int frame : order)
            expectFrame(frame);
        for (int frame = count - 1; frame >= 0; --frame)
            expectFrame(frame);

        // Into the last group of pictures at each of its first frames, then on to the end.
        const int lastKey = m_reader.findKeySample(count - 1, KeySearch::Previous);
        for (int start = lastKey; start < std::min(lastKey + 3, count); ++start) {
            expectFrame(0);
            for (int frame = start; frame < count; ++frame)
                expectFrame(frame);
        }
    }
}

// Pictures kept by the frame cache are the ones a fresh decode gives: stepping back through the
// whole video decodes each group of pictures about once, and a cache too small for a group still
// gives the right pictures in any order.
TEST_P(AvStreamReaderCodecs, CachedPicturesAreTheToolsPicturesAndStepsBackNeedNoSeek)
{
    const int count = m_reader.streamLength();
    m_reader.setFrameCacheBudget(std::size_t(64) << 20);
    int groups = 0;
    for (int key = 0; key >= 0 && key < count;
         key = m_reader.findKeySample(key + 1, KeySearch::Next))
        ++groups;
    expectFrame(count - 1);
    const int seeks = m_reader.seekCount();
    for (int frame = count - 1; frame >= 0; --frame)
        expectFrame(frame);
    // At most a second try per group, from the group before, for an open group's first pictures.
    EXPECT_LE(m_reader.seekCount() - seeks, 2 * groups);

    const std::size_t pictureBytes = m_reader.frameCache()->bytes() / m_reader.frameCache()->size();
    m_reader.setFrameCacheBudget(pictureBytes * 5);
    std::vector<int> order(static_cast<std::size_t>(count));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(20240612));
    for (int frame : order)
        expectFrame(frame);
    for (int frame = count - 1; frame >= 0; --frame)
        expectFrame(frame);
    EXPECT_LE(m_reader.frameCache()->bytes(), pictureBytes * 5);
}

// Opened again unchanged, a file that had to be read through takes its frame table from the
// cache, and the frames are the same.
TEST_P(AvStreamReaderCodecs, ASecondOpenTakesTheFrameTableFromTheCache)
{
    AvStreamReader again;
    ASSERT_TRUE(again.open(m_path) && again.openFrameDecoder());
    EXPECT_EQ(again.indexFromCache(), !m_path.ends_with(".avi")); // an AVI index is read at once
    ASSERT_EQ(again.streamLength(), m_reader.streamLength());
    for (int frame = again.streamLength() - 1; frame >= 0; frame -= 3) {
        EXPECT_EQ(largestDifference(again.getFrame(frame), m_expected.at(frame), again.width(),
                                    again.height()),
                  0)
            << "frame " << frame;
    }
}

// Page Down and Page Up: a jump to a key frame seeks to it (or, for a picture of an open group,
// to the one before) rather than decoding the whole group on the way.
TEST_P(AvStreamReaderCodecs, AJumpToAKeyFrameSeeksToIt)
{
    const int count = m_reader.streamLength();
    expectFrame(0);
    int jumps = 0;
    const int seeks = m_reader.seekCount();
    for (int from = 0, key = m_reader.findKeySample(1, KeySearch::Next); key > 0 && key < count;
         from = key, key = m_reader.findKeySample(key + 1, KeySearch::Next)) {
        expectFrame(key);
        jumps += key > from + 1; // the next frame is read on to
    }
    EXPECT_GE(m_reader.seekCount() - seeks, jumps);
    EXPECT_LE(m_reader.seekCount() - seeks, 2 * jumps);
}

// Idle work after a jump to a key frame decodes the frames before it into the cache: stepping
// back then needs no seek, and the frames after the key frame are still right.
TEST_P(AvStreamReaderCodecs, IdleWorkBeforeAKeyFrameSparesTheStepBackItsSeek)
{
    const int count = m_reader.streamLength();
    m_reader.setFrameCacheBudget(std::size_t(64) << 20);
    const int key = m_reader.findKeySample(count - 2, KeySearch::Previous);
    if (key < 2)
        GTEST_SKIP() << "no key frame after the first two frames";
    expectFrame(key);
    int steps = 0;
    while (steps <= count && m_reader.decodeTowards(key - 1))
        ++steps;
    ASSERT_LE(steps, count);
    const int seeks = m_reader.seekCount();
    expectFrame(key - 1);
    EXPECT_EQ(m_reader.seekCount(), seeks);
    expectFrame(key + 1);
}

// A recording asks for every step-th frame in order and never seeks back: each of them is still
// found, including the B-frames stored right after a key frame that need the group before it.
TEST_P(AvStreamReaderCodecs, FramesAskedForInOrderAreAllFound)
{
    const int count = m_reader.streamLength();
    for (const int step : {1, 2, 5, 7}) {
        for (const int from : {0, 1}) {
            m_reader.setFrameOrder(FrameOrder::Ascending);
            m_reader.setWantedFrames(from, step);
            for (int frame = from; frame < count; frame += step)
                expectFrame(frame);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    , AvStreamReaderCodecs,
    ::testing::Values(
        // FFmpeg's MPEG-4 encoder writes open groups: a key frame's B-frames come before it.
        CodecCase{"Mpeg4BFrames", "mpeg4.avi", "64x48", 30, "-c:v mpeg4 -bf 2 -g 12"},
        // Far into a long group the B-frames on the way are not decoded at all.
        CodecCase{"Mpeg4LongGroup", "long.avi", "64x48", 90, "-c:v mpeg4 -bf 2 -g 90"},
        CodecCase{"H264BFrames", "h264.avi", "64x48", 30, "-c:v libx264 -bf 2 -g 12"},
        CodecCase{"H264OpenGroups", "open.avi", "64x48", 40,
                  "-c:v libx264 -bf 2 -g 12 -x264-params open-gop=1:scenecut=0"},
        CodecCase{"MotionJpegOddSize", "mjpeg.avi", "17x9", 6, "-c:v mjpeg"},
        CodecCase{"Palette", "pal8.avi", "17x9", 4, "-c:v rawvideo -pix_fmt pal8"},
        CodecCase{"H264InMp4", "h264.mp4", "64x48", 30, "-c:v libx264 -bf 2 -g 12"},
        CodecCase{"Mpeg4InMatroska", "mpeg4.mkv", "64x48", 30, "-c:v mpeg4 -bf 2 -g 12"},
        // Streams without an index: frames numbered by presentation time, files repositioned by
        // byte. The transport stream has open groups; a program stream gives no time to pictures
        // that start inside another's packet; a raw stream has no times at all.
        CodecCase{"H264OpenGroupsInTs", "open.ts", "64x48", 40,
                  "-c:v libx264 -bf 3 -g 12 -x264-params open-gop=1:scenecut=0"},
        CodecCase{"H264InM2ts", "h264.m2ts", "64x48", 30,
                  "-c:v libx264 -bf 2 -g 12 -f mpegts -mpegts_m2ts_mode 1"},
        CodecCase{"Mpeg2InProgramStream", "mpeg2.mpg", "320x240", 40,
                  "-c:v mpeg2video -bf 2 -g 12"},
        CodecCase{"RawH264", "raw.h264", "64x48", 30, "-c:v libx264 -bf 2 -g 12"},
        // A cut from inside the first group: the edit list leaves its first pictures unshown.
        CodecCase{"Mp4EditListCut", "whole.ts", "64x48", 40, "-c:v libx264 -bf 2 -g 12", "cut.mp4",
                  "-ss 0.3"}),
    [](const ::testing::TestParamInfo<CodecCase>& info) { return info.param.name; });

TEST(AvStreamReader, RawFramesComeBackByteForByteNumberedFromTheStreamsStart)
{
    TempDir dir;
    RawAvi avi = makeRawAvi(5, 3, 100); // rows of 15 bytes padded to 16
    avi.start = 5;
    avi.rate = 2997;
    avi.scale = 100;
    AvStreamReader reader;
    ASSERT_TRUE(reader.open(writeRawAvi(dir.file("raw.avi"), avi))) << reader.errorText();
    EXPECT_EQ(reader.streamStart(), 5);
    EXPECT_EQ(reader.streamLength(), 100);
    EXPECT_EQ(reader.rate(), 2997u);
    EXPECT_EQ(reader.scale(), 100u);
    EXPECT_EQ(reader.sampleToTime(6), 200);                  // 200.2
    EXPECT_EQ(reader.sampleToTime(7), 234);                  // 233.57
    EXPECT_EQ(reader.sampleToTime(2000000000), 66733400067); // far beyond 32 bits

    ASSERT_TRUE(reader.openFrameDecoder()) << reader.errorText();
    for (int frame : {7, 5, 104, 6}) {
        const std::uint8_t* dib = reader.getFrame(frame);
        ASSERT_NE(dib, nullptr);
        EXPECT_EQ(DibHeaderSize(dib), 40u);
        EXPECT_EQ(DibPixelWidth(dib), 5);
        EXPECT_EQ(DibPixelHeight(dib), 3);
        EXPECT_EQ(DibBitCount(dib), 24);
        EXPECT_EQ(DibColorCount(dib), 0);
        EXPECT_EQ(pixelsOf(dib), avi.frames[frame - 5]) << "frame " << frame;
    }
    EXPECT_EQ(reader.getFrame(4), nullptr);
    EXPECT_EQ(reader.getFrame(105), nullptr);
}

// libavformat leaves an empty chunk out of the index but keeps counting samples.
TEST(AvStreamReader, DroppedFramesHaveNoSizeNoKeyAndShowThePictureBeforeThem)
{
    TempDir dir;
    RawAvi avi = makeRawAvi(4, 2, 6);
    avi.frames[2].clear();
    avi.frames[3].clear();
    for (bool withIndex : {true, false}) {
        avi.withIndex = withIndex; // without one, the file is read through at open
        AvStreamReader reader;
        ASSERT_TRUE(reader.open(writeRawAvi(dir.file("dropped.avi"), avi))) << withIndex;
        EXPECT_EQ(reader.streamLength(), 6);
        EXPECT_EQ(reader.sampleSize(1), 24u);
        EXPECT_EQ(reader.sampleSize(3), 0u);
        EXPECT_EQ(reader.sampleSize(6), std::nullopt);
        EXPECT_EQ(reader.findKeySample(2, KeySearch::Next), 4);
        EXPECT_EQ(reader.findKeySample(3, KeySearch::Previous), 1);

        ASSERT_TRUE(reader.openFrameDecoder());
        EXPECT_EQ(pixelsOf(reader.getFrame(3)), avi.frames[1]);
        for (int frame = 0; frame < 6; ++frame) {
            const int shown = frame == 2 || frame == 3 ? 1 : frame;
            EXPECT_EQ(pixelsOf(reader.getFrame(frame)), avi.frames[shown]) << "frame " << frame;
        }
    }
}

// Remuxed into AVI, a stream with B-frames and dropped frames: the decoder's delay counts
// packets, not samples, so the pictures are the frames of the stored samples in turn, and a
// jump to a key frame is one seek.
TEST(AvStreamReader, DroppedFramesAmongBFramesLeaveEveryPictureAtItsStoredSample)
{
    if (!ffmpegHasEncoder("libx264"))
        GTEST_SKIP() << "ffmpeg has no libx264 encoder";
    TempDir dir;
    const std::string gapped =
        makeTestVideo(dir.file("gapped.mkv"), "64x48", "25", 60,
                      "-vf \"select='not(eq(mod(n,7),3))'\" -fps_mode passthrough "
                      "-c:v libx264 -bf 3 -g 12");
    ASSERT_FALSE(gapped.empty());
    const std::string path = dir.file("gapped.avi");
    ASSERT_TRUE(runFfmpeg("-i " + gapped + " -c copy -bsf:v h264_mp4toannexb " + path));
    AvStreamReader reader;
    ASSERT_TRUE(reader.open(path) && reader.openFrameDecoder());
    std::vector<int> stored;
    for (int sample = 0; sample < reader.streamLength(); ++sample)
        if (reader.sampleSize(sample).value_or(0) > 0)
            stored.push_back(sample);
    const std::vector<ToolFrame> expected =
        toolFrames(dir, path, reader.width(), reader.height());
    ASSERT_EQ(stored.size(), expected.size());
    ASSERT_LT(static_cast<int>(stored.size()), reader.streamLength());

    int jumps = 0;
    const int seeks = reader.seekCount();
    for (std::size_t k = stored.size(); k-- > 0;) {
        if (reader.findKeySample(stored[k], KeySearch::Previous) != stored[k])
            continue;
        ++jumps;
        EXPECT_EQ(largestDifference(reader.getFrame(stored[k]), expected[k], reader.width(),
                                    reader.height()),
                  0)
            << "key frame " << stored[k];
    }
    EXPECT_EQ(reader.seekCount() - seeks, jumps);
    for (std::size_t k = 0; k < stored.size(); ++k)
        EXPECT_EQ(largestDifference(reader.getFrame(stored[k]), expected[k], reader.width(),
                                    reader.height()),
                  0)
            << "frame " << stored[k];
}

// A table is used only for the file it was made from, as it is: a file written again is read
// through again, and a damaged or planted cache file is passed over.
TEST(AvStreamReader, TheCacheServesOnlyTheUnchangedFileAndOnlyWholeTables)
{
    TempDir dir;
    // A cache of this test's own.
    ASSERT_EQ(setenv("XDG_CACHE_HOME", dir.file("cache").c_str(), 1), 0);
    const std::string path =
        makeTestVideo(dir.file("clip.ts"), "64x48", "25", 10, "-c:v mpeg2video");
    ASSERT_FALSE(path.empty());
    const auto fromCache = [&path] {
        AvStreamReader reader;
        return reader.open(path) && reader.indexFromCache();
    };
    EXPECT_FALSE(fromCache());
    EXPECT_TRUE(fromCache());

    std::vector<std::uint8_t> bytes = ReadBytes(path);
    WriteBytes(path, bytes); // the same bytes, written again: another modification time
    EXPECT_FALSE(fromCache());
    EXPECT_TRUE(fromCache());

    for (const auto& entry : fs::directory_iterator(IndexCacheFolder())) {
        std::vector<std::uint8_t> table = ReadBytes(entry.path().string());
        table[table.size() / 2] ^= 0x40;
        WriteBytes(entry.path().string(), table);
    }
    EXPECT_FALSE(fromCache());
    EXPECT_TRUE(fromCache());
}

// A file read through at open says how far the read has got, and a stop ends the open without
// keeping a table of the part read.
TEST(AvStreamReader, AReadThroughTellsItsProgressAndCanBeStopped)
{
    TempDir dir;
    ASSERT_EQ(setenv("XDG_CACHE_HOME", dir.file("cache").c_str(), 1), 0);
    const std::string path =
        makeTestVideo(dir.file("clip.ts"), "64x48", "25", 10, "-c:v mpeg2video");
    ASSERT_FALSE(path.empty());
    AvStreamReader stopped;
    std::vector<int> told;
    EXPECT_FALSE(stopped.open(path, [&told](int permille) {
        told.push_back(permille);
        return false;
    }));
    EXPECT_TRUE(stopped.openStopped());
    ASSERT_EQ(told.size(), 1u);
    EXPECT_GE(told[0], 0);
    EXPECT_LE(told[0], 1000);

    AvStreamReader reader;
    EXPECT_TRUE(reader.open(path, [](int) { return true; }));
    EXPECT_FALSE(reader.indexFromCache());
    EXPECT_EQ(reader.streamLength(), 10);
}

TEST(AvStreamReader, FilesWithoutAReadableVideoStreamAreRefusedWithAReason)
{
    TempDir dir;
    WriteBytes(dir.file("empty.avi"), {});
    const std::string text = "Not a video, only a text with the wrong name.\n";
    WriteBytes(dir.file("text.avi"), {text.begin(), text.end()});
    ASSERT_TRUE(runFfmpeg("-f lavfi -i sine=duration=0.2 -c:a pcm_s16le " + dir.file("audio.avi")));
    // A header that puts the first sample beyond 32-bit frame numbers.
    RawAvi farStart = makeRawAvi(1, 1, 2);
    farStart.rate = 0xFFFFFFFF;
    farStart.start = 0xFFFFFF00;
    writeRawAvi(dir.file("far.avi"), farStart);

    // A header that claims frames above the program's limit of 64 megapixels.
    RawAvi huge = makeRawAvi(1, 1, 1);
    huge.width = 8193;
    huge.height = 8192;
    writeRawAvi(dir.file("huge.avi"), huge);

    for (const char* name :
         {"empty.avi", "text.avi", "missing.avi", "audio.avi", "far.avi", "huge.avi"}) {
        AvStreamReader reader;
        EXPECT_FALSE(reader.open(dir.file(name))) << name;
        EXPECT_FALSE(reader.errorText().empty()) << name;
    }
    AvStreamReader reader;
    reader.open(dir.file("huge.avi"));
    EXPECT_EQ(reader.errorText(), "the video's frames are larger than 64 megapixels");
}

// A recording passes over the frames it can't decode and goes on forward: a damaged stretch of a
// long group costs no seek back to the group's start for each of its frames.
TEST(AvStreamReader, FramesAskedForInOrderPassOverADamagedStretch)
{
    TempDir dir;
    const std::string path =
        makeTestVideo(dir.file("long.avi"), "160x120", "25", 150, "-c:v libx264 -bf 2 -g 150");
    ASSERT_FALSE(path.empty());
    std::vector<std::uint8_t> bytes = ReadBytes(path);
    std::mt19937 noise(20261209);
    for (std::size_t i = bytes.size() / 2; i < bytes.size() * 56 / 100; ++i)
        bytes[i] = static_cast<std::uint8_t>(noise());
    WriteBytes(path, bytes);

    AvStreamReader reader;
    ASSERT_TRUE(reader.open(path) && reader.openFrameDecoder()) << reader.errorText();
    reader.setFrameOrder(FrameOrder::Ascending);
    int missing = 0;
    for (int frame = 0; frame < reader.streamLength(); ++frame)
        missing += reader.getPicture(frame) == nullptr;
    EXPECT_GT(missing, 0);
    EXPECT_LT(missing, 50);
    EXPECT_EQ(reader.seekCount(), 1);
}

TEST(AvStreamReader, DamagedFilesNeverCrashOrHang)
{
    TempDir dir;
    const std::string good =
        makeTestVideo(dir.file("good.avi"), "64x48", "25", 24, "-c:v mpeg4 -bf 2 -g 8");
    ASSERT_FALSE(good.empty());
    const std::vector<std::uint8_t> bytes = ReadBytes(good);
    std::vector<std::vector<std::uint8_t>> damaged;
    for (std::size_t length : {std::size_t(300), bytes.size() / 2, bytes.size() - 40})
        damaged.emplace_back(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    damaged.push_back(bytes);
    for (std::size_t i = 2000; i < bytes.size(); i += 97)
        damaged.back()[i] ^= 0x5A;

    // An index pointing far beyond the end of the file, and a frame size too large to allocate.
    damaged.push_back(rawAviBytes(makeRawAvi(4, 2, 3)));
    auto& lying = damaged.back();
    const auto index = std::search(lying.begin(), lying.end(), "idx1", "idx1" + 4);
    for (int entry = 0; entry < 3; ++entry)
        std::memset(&*(index + 16 + 16 * entry), 0x7F, 4);
    damaged.push_back(rawAviBytes(makeRawAvi(4, 2, 2)));
    auto& huge = damaged.back();
    const auto format = std::search(huge.begin(), huge.end(), "strf", "strf" + 4);
    std::memset(&*(format + 12), 0x7F, 3); // width and height of about eight million
    std::memset(&*(format + 16), 0x7F, 3);

    for (std::size_t i = 0; i < damaged.size(); ++i) {
        const std::string path = dir.file("damaged" + std::to_string(i) + ".avi");
        WriteBytes(path, damaged[i]);
        AvStreamReader reader;
        if (!reader.open(path) || !reader.openFrameDecoder())
            continue;
        for (int frame = reader.streamStart() + reader.streamLength() - 1;
             frame >= reader.streamStart(); frame -= 3) {
            const std::uint8_t* dib = reader.getFrame(frame);
            EXPECT_TRUE(dib == nullptr || DibPixelWidth(dib) == reader.width()) << i;
        }
    }
}
