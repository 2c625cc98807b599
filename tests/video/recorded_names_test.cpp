// The names a recording gives its files, and the manifest that lists them.

#include "support/temp_dir.h"
#include "video/ffmpeg_tool.h"
#include "video/file_name_pattern.h"
#include "video/recorder.h"
#include "video/video_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

TEST(FileNamePatternTest, NamesFramesAndRefusesPatternsThatCouldCollideOrLeaveTheFolder)
{
    const Result<FileNamePattern> pattern =
        FileNamePattern::Parse("{name} {frame:3}_{count}_{time}");
    ASSERT_TRUE(pattern);
    EXPECT_EQ(pattern->nameOf({"/videos/my.clip.mp4", 7, 83456, 2}),
              "my.clip 007_000002_00-01-23.456");
    EXPECT_EQ(FileNamePattern().nameOf({"a.avi", 1234567, 0, 1}), "1234567");
    EXPECT_EQ(FileNamePattern::Parse("{name}{frame}")->nameOf({"/v/a\nb.avi", 1, 0, 1}),
              "a_b000001");

    const std::pair<const char*, Failure> refused[] = {
        {"{name}_{time}", Failure::NamePatternNoNumber},
        {"", Failure::NamePatternNoNumber},
        {"../{frame}", Failure::NamePatternCharacter},
        {"a/{frame}", Failure::NamePatternCharacter},
        {".{frame}", Failure::NamePatternCharacter},
        {"{frame}\n", Failure::NamePatternCharacter},
        {"{frames}", Failure::NamePatternPlaceholder},
        {"{frame:0}", Failure::NamePatternPlaceholder},
        {"{frame:11}", Failure::NamePatternPlaceholder},
        {"{name:3}{frame}", Failure::NamePatternPlaceholder},
        {"{frame", Failure::NamePatternPlaceholder},
        {"frame}{count}", Failure::NamePatternPlaceholder},
    };
    for (const auto& [text, why] : refused) {
        SCOPED_TRACE(text);
        const Result<FileNamePattern> parsed = FileNamePattern::Parse(text);
        ASSERT_FALSE(parsed);
        EXPECT_EQ(parsed.error().what, why);
    }
}

TEST(RecordingManifestTest, ListsEveryFileWrittenWithItsFrame)
{
    TempDir dir;
    const std::string video =
        makeTestVideo(dir.file("clip,1.mp4"), "64x48", "25", 30, "-c:v mpeg4 -g 10 -bf 2");
    ASSERT_FALSE(video.empty());
    VideoReader reader;
    ASSERT_TRUE(reader.open(video, WantFrames::Yes));
    const std::string folder = dir.file("out");
    std::filesystem::create_directory(folder);
    RecordOptions options{folder, 0, reader.facts().lastFrame, {}, false};
    options.writing.step = 2;
    options.writing.format = ImageFormat::Png;
    options.writing.names = *FileNamePattern::Parse("{name}_{count:2}");
    options.writing.manifest = true;
    const RecordResult result = RecordFrames(
        reader, options, [](int) {}, [] { return false; });
    ASSERT_FALSE(result.error);
    ASSERT_EQ(result.saved, 15);
    EXPECT_TRUE(result.listed);

    std::ifstream file(folder + "/frames.csv");
    std::string line;
    ASSERT_TRUE(std::getline(file, line));
    EXPECT_EQ(line, "file,frame,time,key,type,bytes");
    std::vector<std::string> listed;
    std::string types;
    for (int row = 0; std::getline(file, line); ++row) {
        SCOPED_TRACE(line);
        const int frame = 2 * row;
        char name[32];
        std::snprintf(name, sizeof name, "\"clip,1_%02d.png\"", row + 1);
        const bool key = reader.findKeyFrame(frame, SearchDirection::Backward) == frame;
        char time[32];
        std::snprintf(time, sizeof time, "%.6f", frame / 25.0);
        const std::string start = std::string(name) + ',' + std::to_string(frame) + ',' + time +
                                  ',' + (key ? '1' : '0') + ',';
        ASSERT_TRUE(line.starts_with(start));
        types += line[start.size()];
        EXPECT_EQ(line.substr(start.size() + 2), std::to_string(*reader.storedSize(frame)));
        listed.push_back(std::string(name + 1, std::strlen(name) - 2));
    }
    // As ffprobe's pict_type gives them.
    EXPECT_EQ(types, "IBBPBBIBBPBBPBB");
    std::vector<std::string> written;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".png")
            written.push_back(entry.path().filename().string());
    std::sort(written.begin(), written.end());
    EXPECT_EQ(listed, written);
}
