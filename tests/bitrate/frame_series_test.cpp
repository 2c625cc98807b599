#include "bitrate/frame_series.h"
#include "ffmpeg_tool.h"
#include "support/temp_dir.h"
#include "video/video_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string_view>

namespace {

struct PipeCloser
{
    void operator()(std::FILE* pipe) const { pclose(pipe); }
};

// The picture type of every frame the ffmpeg tool decodes from path, in its output order.
std::string toolPictureTypes(const std::string& path)
{
    const std::string command = "ffprobe -v error -select_streams v:0 -show_frames "
                                "-show_entries frame=pict_type -of default=nw=1 '" +
                                path + "'";
    std::unique_ptr<std::FILE, PipeCloser> pipe(popen(command.c_str(), "r"));
    std::string types;
    char line[256];
    while (pipe && std::fgets(line, sizeof line, pipe.get()) != nullptr) {
        if (std::string_view(line).starts_with("pict_type="))
            types += line[10];
    }
    return types;
}

std::string ourPictureTypes(const FrameSeries& series)
{
    std::string types;
    for (const StoredFrame& frame : series.frames)
        types += PictureTypeLetter(frame.type);
    return types;
}

struct TypedClip
{
    const char* file;
    const char* codecOptions;
};

class FrameSeriesCodecs : public ::testing::TestWithParam<TypedClip>
{
};

} // namespace

TEST_P(FrameSeriesCodecs, PictureTypesAreTheToolsInFrameOrder)
{
    const TypedClip& clip = GetParam();
    if (std::string(clip.codecOptions).find("libx264") != std::string::npos &&
        !ffmpegHasEncoder("libx264"))
        GTEST_SKIP() << "ffmpeg has no libx264 encoder";
    TempDir dir;
    const std::string path =
        makeTestVideo(dir.file(clip.file), "64x48", "25", 40, clip.codecOptions);
    ASSERT_FALSE(path.empty());
    VideoReader video;
    ASSERT_TRUE(video.open(path, WantFrames::No));
    const Result<FrameSeries> series = FrameSeriesReader::read(video);
    ASSERT_TRUE(series) << EnglishText(series.error());
    const std::string ours = ourPictureTypes(*series);
    EXPECT_EQ(ours, toolPictureTypes(path));
    EXPECT_NE(ours.find('B'), std::string::npos) << ours;
}

INSTANTIATE_TEST_SUITE_P(
    Codecs, FrameSeriesCodecs,
    ::testing::Values(TypedClip{"mpeg2.mpg", "-c:v mpeg2video -bf 2 -g 12"},
                      TypedClip{"mpeg4.avi", "-c:v mpeg4 -bf 2 -g 12"},
                      TypedClip{"h264.mp4", "-c:v libx264 -bf 3 -g 12 -x264-params b-pyramid=0"}));
