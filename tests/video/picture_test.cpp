// How pictures become pixels: colour matrices and ranges, HDR, orientation, interlacing and
// pixel aspect, on clips the ffmpeg tool makes from a still of known colour patches.

#include "ffmpeg_tool.h"
#include "recording_owner.h"
#include "source/frame_source.h"
#include "video/screen_picture.h"
#include "video/stream_picture.h"
#include "video/video_reader.h"

#include "image/dib.h"
#include "image/dib_image.h"
#include "settings/settings.h"

extern "C" {
#include <libavutil/display.h>
}

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

using Colour = std::array<int, 3>; // red, green, blue

// Primaries, secondaries, white, black, mid-grey and three mixed colours, in a 4 x 3 grid.
const std::array<Colour, 12> kPatches = {{{255, 0, 0},
                                          {0, 255, 0},
                                          {0, 0, 255},
                                          {255, 255, 0},
                                          {0, 255, 255},
                                          {255, 0, 255},
                                          {255, 255, 255},
                                          {0, 0, 0},
                                          {128, 128, 128},
                                          {200, 100, 50},
                                          {50, 150, 200},
                                          {235, 200, 170}}};

std::string writePatchStill(const TempDir& dir, int width, int height)
{
    CDibImage still;
    still.Create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = still.PictureRow(y);
        for (int x = 0; x < width; ++x) {
            const Colour& colour = kPatches[(y * 3 / height) * 4 + x * 4 / width];
            row[3 * x] = static_cast<std::uint8_t>(colour[2]);
            row[3 * x + 1] = static_cast<std::uint8_t>(colour[1]);
            row[3 * x + 2] = static_cast<std::uint8_t>(colour[0]);
        }
    }
    const std::string path = dir.file("patches.bmp");
    still.SaveBmp(path);
    return path;
}

// A pixel of a packed DIB, counted from the top left.
Colour pixelAt(const std::uint8_t* dib, int x, int y)
{
    const int height = DibPixelHeight(dib);
    const std::uint8_t* pixel =
        DibPixelData(dib) + (height - 1 - y) * DibStride(DibPixelWidth(dib), 24) + 3 * x;
    return {pixel[2], pixel[1], pixel[0]};
}

// The mean colour of the middle of each patch.
std::array<Colour, 12> patchesOf(const std::uint8_t* dib)
{
    const int width = DibPixelWidth(dib);
    const int height = DibPixelHeight(dib);
    std::array<Colour, 12> patches{};
    for (int patch = 0; patch < 12; ++patch) {
        const int centreX = (patch % 4) * width / 4 + width / 8;
        const int centreY = (patch / 4) * height / 3 + height / 6;
        Colour sum{};
        for (int dy = -2; dy < 2; ++dy) {
            for (int dx = -2; dx < 2; ++dx) {
                const Colour pixel = pixelAt(dib, centreX + dx, centreY + dy);
                for (int c = 0; c < 3; ++c)
                    sum[c] += pixel[c];
            }
        }
        for (int c = 0; c < 3; ++c)
            patches[patch][c] = (sum[c] + 8) / 16;
    }
    return patches;
}

int largestError(const std::array<Colour, 12>& patches)
{
    int largest = 0;
    for (int patch = 0; patch < 12; ++patch) {
        for (int c = 0; c < 3; ++c)
            largest = std::max(largest, std::abs(patches[patch][c] - kPatches[patch][c]));
    }
    return largest;
}

std::string patchText(const std::array<Colour, 12>& patches)
{
    std::string text;
    for (const Colour& colour : patches)
        text += " " + std::to_string(colour[0]) + "," + std::to_string(colour[1]) + "," +
                std::to_string(colour[2]);
    return text;
}

class PictureTest : public ::testing::Test
{
protected:
    // A clip of two frames of the patches, converted to YCbCr with the matrix and range and
    // stored with the given tags.
    std::string makeClip(const std::string& name, int width, int height,
                         const std::string& conversion, const std::string& codec)
    {
        const std::string path = m_dir.file(name);
        const std::string still = writePatchStill(m_dir, width, height);
        // Converted accurately, so that the clip holds the patches' own colours.
        if (!runFfmpeg("-loop 1 -i " + still +
                       " -frames:v 2 -sws_flags bicubic+accurate_rnd+full_chroma_int -vf " +
                       conversion + " " + codec + " " + path))
            return {};
        return path;
    }
    // Frame `frame` as the frame source converts it; null when the clip can't be opened.
    const std::uint8_t* still(const std::string& path, int frame = 0,
                              const PictureOptions& options = {})
    {
        std::int64_t bitrate = 0;
        m_source.setPictureOptions(options);
        if (path.empty() || !m_source.Open(path, nullptr, &m_owner, bitrate, WantFrames::Yes))
            return nullptr;
        m_source.ShowFrame(frame, nullptr);
        return m_source.decodedFrame();
    }

    TempDir m_dir;
    RecordingOwner m_owner;
    CFrameSource m_source;
};

std::string x264(const std::string& tags)
{
    return "-c:v libx264 -preset ultrafast -qp 0 " + tags;
}

} // namespace

TEST_F(PictureTest, PatchesComeOutInTheirColoursThroughEveryMatrixRangeAndDepth)
{
    struct Case
    {
        const char* name;
        int width;
        int height;
        std::string conversion;
        std::string codec;
    };
    const std::string bt709 = "-colorspace bt709 -color_primaries bt709 -color_trc bt709 ";
    const std::vector<Case> cases = {
        {"bt601.mp4", 320, 240, "scale=out_color_matrix=bt601:out_range=tv,format=yuv420p",
         x264("-colorspace smpte170m -color_range tv")},
        {"bt709.mp4", 320, 240, "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p",
         x264(bt709 + "-color_range tv")},
        {"full.mp4", 320, 240, "scale=out_color_matrix=bt709:out_range=pc,format=yuvj420p",
         x264(bt709 + "-color_range pc")},
        {"ten.mkv", 320, 240, "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p10le",
         x264(bt709 + "-color_range tv")},
        // Untagged: BT.709 from 1280 wide, BT.601 below.
        {"hd.mp4", 1280, 720, "scale=out_color_matrix=bt709:out_range=tv,format=yuv420p", x264("")},
        {"sd.mp4", 640, 480, "scale=out_color_matrix=bt601:out_range=tv,format=yuv420p", x264("")},
    };
    for (const Case& clip : cases) {
        const std::uint8_t* dib =
            still(makeClip(clip.name, clip.width, clip.height, clip.conversion, clip.codec));
        ASSERT_NE(dib, nullptr) << clip.name;
        EXPECT_LE(largestError(patchesOf(dib)), 3) << clip.name << patchText(patchesOf(dib));
    }
}

TEST_F(PictureTest, TheMatrixOptionOverridesAWrongTag)
{
    const std::string clip =
        makeClip("wrong.mp4", 320, 240, "scale=out_color_matrix=bt601:out_range=tv,format=yuv420p",
                 x264("-colorspace bt709 -color_range tv"));
    ASSERT_NE(still(clip), nullptr);
    EXPECT_GT(largestError(patchesOf(still(clip))), 10);
    PictureOptions forced;
    forced.matrix = ColorMatrixChoice::Bt601;
    ASSERT_NE(still(clip, 0, forced), nullptr);
    EXPECT_LE(largestError(patchesOf(still(clip, 0, forced))), 3);
    EXPECT_EQ(m_source.describePicture().matrixNote,
              "forced by the ColorMatrix option; the file says bt709");
}

TEST_F(PictureTest, AnHdr10PictureIsToneMappedToASaneSdrOne)
{
    if (!ffmpegHasEncoder("libx265"))
        GTEST_SKIP() << "the ffmpeg tool has no HEVC encoder";
    // SDR white at BT.2408's reference white of 203 cd/m2, mastered for 1000 cd/m2.
    const std::string clip =
        makeClip("hdr10.mkv", 320, 240,
                 "zscale=tin=bt709:pin=bt709:min=gbr:rin=full:t=smpte2084:p=bt2020:m=bt2020nc:r=tv:"
                 "npl=203,format=yuv420p10le",
                 "-c:v libx265 -x265-params log-level=error:colorprim=bt2020:transfer=smpte2084:"
                 "colormatrix=bt2020nc:max-cll=1000,400");
    const std::uint8_t* dib = still(clip);
    ASSERT_NE(dib, nullptr);
    const std::array<Colour, 12> patches = patchesOf(dib);
    // Mid-grey keeps its value; each primary stays a strong colour, neither grey nor clipped.
    for (int c = 0; c < 3; ++c)
        EXPECT_NEAR(patches[8][c], 128, 4);
    for (int primary = 0; primary < 3; ++primary) {
        const Colour& colour = patches[primary];
        EXPECT_GT(colour[primary], 180) << primary;
        EXPECT_LT(colour[primary], 255) << primary;
        for (int c = 0; c < 3; ++c) {
            if (c != primary) {
                EXPECT_LT(colour[c], 40) << primary;
            }
        }
    }
    EXPECT_GT(patches[6][0], 200); // white stays light

    PictureOptions stored;
    stored.toneMap = false;
    ASSERT_NE(still(clip, 0, stored), nullptr);
    EXPECT_LT(patchesOf(still(clip, 0, stored))[6][0], 200); // washed out without it
}

TEST_F(PictureTest, ARotatedClipIsShownAndSavedUprightLikeTheToolsUnlessKept)
{
    const std::string stored = makeTestVideo(m_dir.file("stored.mp4"), "64x48", "25", 2,
                                             "-c:v libx264 -preset ultrafast -qp 0");
    const std::string turned = m_dir.file("turned.mp4");
    ASSERT_TRUE(runFfmpeg("-i " + stored + " -c copy -metadata:s:v:0 rotate=90 " + turned));
    const std::vector<ToolFrame> expected = toolFrames(m_dir, turned, 48, 64);
    ASSERT_EQ(expected.size(), 2u);

    EXPECT_EQ(largestDifference(still(turned, 1), expected[1], 48, 64), 0);
    EXPECT_EQ(m_source.GetFrameRect(), (FrameRect{0, 0, 48, 64}));
    EXPECT_EQ(m_source.image().Width(), 48);
    EXPECT_EQ(m_source.describePicture().clockwiseRotation, 270);

    PictureOptions kept;
    kept.keepRotation = true;
    ASSERT_NE(still(turned, 1, kept), nullptr);
    EXPECT_EQ(m_source.GetFrameRect(), (FrameRect{0, 0, 64, 48}));
}

TEST(PictureOrientation, DisplayMatricesGiveQuarterTurnsAndMirroring)
{
    std::int32_t matrix[9];
    for (const int degrees : {0, 90, 180, 270}) {
        for (const bool mirrored : {false, true}) {
            av_display_rotation_set(matrix, degrees);
            if (mirrored)
                av_display_matrix_flip(matrix, 1, 0);
            const PictureOrientation orientation = PictureOrientation::fromDisplayMatrix(matrix);
            // The ffmpeg tool turns an unmirrored picture clockwise by minus the matrix's
            // counter-clockwise angle.
            if (!mirrored) {
                const int tools =
                    (360 - static_cast<int>(std::lround(av_display_rotation_get(matrix)))) % 360;
                EXPECT_EQ(orientation.clockwiseDegrees(), tools) << degrees;
            }
            EXPECT_EQ(orientation.mirrored(), mirrored) << degrees;
            EXPECT_EQ(orientation.swapsSides(), degrees % 180 != 0);
        }
    }
}

namespace {

// How much the rows of a picture differ from the mean of the rows either side: large where the
// two fields of a moving picture are woven together.
double combing(const std::uint8_t* dib)
{
    const int width = DibPixelWidth(dib);
    const int height = DibPixelHeight(dib);
    double total = 0;
    for (int y = 1; y + 1 < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int above = pixelAt(dib, x, y - 1)[1];
            const int below = pixelAt(dib, x, y + 1)[1];
            total += std::abs(2 * pixelAt(dib, x, y)[1] - above - below);
        }
    }
    return total / (double(width) * (height - 2));
}

std::vector<std::uint8_t> bytesOf(const std::uint8_t* dib)
{
    if (dib == nullptr)
        return {};
    const std::size_t size = DibStride(DibPixelWidth(dib), 24) * DibPixelHeight(dib);
    return {DibPixelData(dib), DibPixelData(dib) + size};
}

} // namespace

TEST_F(PictureTest, AnInterlacedClipIsDeinterlacedTheSameByStepJumpAndRecording)
{
    // Two fields a frame of bars moving sideways, stored as interlaced MPEG-2.
    const std::string clip = m_dir.file("interlaced.mkv");
    ASSERT_TRUE(runFfmpeg("-f lavfi -i testsrc2=size=704x288:rate=50 -frames:v 24 -vf "
                          "crop=352:288:t*400:0,tinterlace=interleave_top -c:v mpeg2video "
                          "-flags +ilme+ildct -top 1 -q:v 2 -g 6 -bf 2 " +
                          clip));
    PictureOptions raw;
    raw.deinterlace = false;
    const double woven = combing(still(clip, 9, raw));
    const std::vector<std::uint8_t> jumped = bytesOf(still(clip, 9));
    ASSERT_FALSE(jumped.empty());
    EXPECT_TRUE(m_source.describePicture().deinterlaced);
    EXPECT_LT(combing(m_source.decodedFrame()), woven / 2);

    for (int frame = 0; frame <= 9; ++frame)
        m_source.ShowFrame(frame, nullptr);
    EXPECT_EQ(bytesOf(m_source.decodedFrame()), jumped);

    const std::string folder = m_dir.file("recorded");
    std::filesystem::create_directory(folder);
    ASSERT_EQ(m_source.Record(folder, 7, 9).saved, 3);
    CDibImage recorded;
    ASSERT_EQ(recorded.LoadBmp(folder + "/000009.bmp"), 1);
    EXPECT_EQ(bytesOf(recorded.Header()), jumped);
}

TEST_F(PictureTest, NonSquarePixelsKeepTheStoredWidthUnlessTheDisplayAspectIsAskedFor)
{
    const std::string clip = makeTestVideo(m_dir.file("anamorphic.mkv"), "352x288", "25", 1,
                                           "-vf setsar=16/11 -c:v mpeg4");
    ASSERT_NE(still(clip), nullptr);
    EXPECT_EQ(m_source.width(), 352);
    const PictureDescription description = m_source.describePicture();
    EXPECT_EQ(description.displayAspect.num, 16);
    EXPECT_EQ(description.displayAspect.den, 9);

    PictureOptions shaped;
    shaped.displayAspect = true;
    const std::uint8_t* dib = still(clip, 0, shaped);
    ASSERT_NE(dib, nullptr);
    EXPECT_EQ(DibPixelWidth(dib), 512);
    EXPECT_EQ(m_source.width(), 512);
}

// A picture made for the screen comes straight from the decoder's, in one conversion: the
// pixels the saved picture has, turned alike.
TEST_F(PictureTest, ScreenPicturesHaveThePixelsOfTheSavedPicture)
{
    const std::string stored = makeTestVideo(m_dir.file("stored.mp4"), "64x48", "25", 2,
                                             "-c:v libx264 -preset ultrafast -pix_fmt yuv420p10le");
    const std::string turned = m_dir.file("turned.mp4");
    ASSERT_TRUE(runFfmpeg("-i " + stored + " -c copy -metadata:s:v:0 rotate=90 " + turned));
    for (const std::string& path : {stored, turned}) {
        SCOPED_TRACE(path);
        VideoReader reader;
        ASSERT_TRUE(reader.open(path, WantFrames::Yes));
        reader.decode(1);
        const int width = reader.facts().width;
        const int height = reader.facts().height;
        const std::shared_ptr<const ScreenPicture> screen = reader.screenPicture(width, height);
        const std::uint8_t* dib = reader.packedDib();
        ASSERT_TRUE(screen && dib);
        int differing = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const std::uint8_t* shown = screen->pixels() + y * screen->stride() + 4 * x;
                differing += pixelAt(dib, x, y) != Colour{shown[2], shown[1], shown[0]};
            }
        }
        EXPECT_EQ(differing, 0);
        const auto half = reader.screenPicture(width / 2, height / 2);
        ASSERT_TRUE(half);
        EXPECT_EQ(half->width(), width / 2);
    }
}

// While a long file's frames are listed, the windows show its first picture, decoded without
// the list: frame 0's picture, turned and coloured alike.
TEST_F(PictureTest, TheFirstPictureReadWithoutTheFrameListIsFrameZero)
{
    const std::string reordered = makeTestVideo(m_dir.file("reordered.ts"), "64x48", "25", 12,
                                                "-c:v mpeg2video -bf 2 -g 6");
    const std::string stored = makeTestVideo(m_dir.file("stored.mp4"), "64x48", "25", 2,
                                             "-c:v libx264 -preset ultrafast");
    const std::string turned = m_dir.file("turned.mp4");
    ASSERT_TRUE(runFfmpeg("-i " + stored + " -c copy -metadata:s:v:0 rotate=90 " + turned));
    for (const std::string& path : {reordered, turned}) {
        SCOPED_TRACE(path);
        VideoReader listed;
        VideoReader first;
        ASSERT_TRUE(listed.open(path, WantFrames::Yes));
        ASSERT_TRUE(first.openFirstPicture(path));
        const int width = listed.facts().width;
        const int height = listed.facts().height;
        ASSERT_EQ(first.facts().width, width);
        ASSERT_EQ(first.facts().height, height);
        listed.decode(0);
        const auto expected = listed.screenPicture(width, height);
        const auto shown = first.screenPicture(width, height);
        ASSERT_TRUE(expected && shown);
        for (int y = 0; y < height; ++y)
            ASSERT_EQ(std::memcmp(expected->pixels() + y * expected->stride(),
                                  shown->pixels() + y * shown->stride(), 4 * std::size_t(width)),
                      0);
    }
}
