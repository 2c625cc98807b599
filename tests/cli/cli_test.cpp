#include "batch/average_job.h"
#include "batch/scale_job.h"
#include "clipmint_build.h"
#include "image/dib_image.h"
#include "image/jpeg_codec.h"
#include "image/png_codec.h"
#include "support/batch_fixture.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct CliRun
{
    int status = -1;
    std::string out;
    std::string err;
};

// Runs clipmint-cli with arguments (a shell word list), after a prefix such as an environment
// change, and collects its exit status and output.
CliRun cli(const TempDir& dir, const std::string& arguments, const std::string& prefix = "")
{
    const std::string errFile = dir.file("stderr.txt");
    const std::string command =
        prefix + "'" + CLIPMINT_CLI + "' " + arguments + " 2>'" + errFile + "'";
    CliRun run;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return run;
    std::array<char, 4096> buffer;
    size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        run.out.append(buffer.data(), got);
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto err = ReadBytes(errFile);
    run.err.assign(err.begin(), err.end());
    return run;
}

// Runs clipmint-cli in folder with these exact argument words, no shell between.
CliRun cliIn(const TempDir& dir, const fs::path& folder, const std::vector<std::string>& words)
{
    const std::string out = dir.file("stdout.txt");
    const std::string err = dir.file("stderr.txt");
    CliRun run;
    const pid_t child = fork();
    if (child == 0) {
        std::vector<char*> argv{const_cast<char*>(CLIPMINT_CLI)};
        for (const std::string& word : words)
            argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        if (chdir(folder.c_str()) != 0 || !freopen(out.c_str(), "w", stdout) ||
            !freopen(err.c_str(), "w", stderr))
            _exit(127);
        execv(CLIPMINT_CLI, argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto outBytes = ReadBytes(out);
    const auto errBytes = ReadBytes(err);
    run.out.assign(outBytes.begin(), outBytes.end());
    run.err.assign(errBytes.begin(), errBytes.end());
    return run;
}

int countLines(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

class CliTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new TempDir;
        s_video = s_dir->file("clip.avi");
        const std::string make =
            "ffmpeg -v error -y -f lavfi -i testsrc=size=64x48:rate=25 -frames:v 30 "
            "-c:v mpeg4 -bf 2 -g 12 '" +
            s_video + "'";
        ASSERT_EQ(std::system(make.c_str()), 0);
    }
    static void TearDownTestSuite() { delete s_dir; }

    static TempDir* s_dir;
    static std::string s_video;
    TempDir m_dir;
};

TempDir* CliTest::s_dir = nullptr;
std::string CliTest::s_video;

} // namespace

TEST_F(CliTest, WrongCommandLinesExitWithTwo)
{
    const CliRun help = cli(m_dir, "--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: clipmint-cli"), std::string::npos);
    const CliRun version = cli(m_dir, "--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind(std::string("clipmint-cli ") + kClipmintVersion + "\n", 0), 0u)
        << version.out;
    for (const char* arguments :
         {"", "bogus", "info", "info a b", "frame v.avi x out.png", "frame v.avi 1 out.gif",
          "record v.avi out --every 0", "record v.avi out --format gif", "info v.avi --nonsense",
          "record v.avi out --quality", "record v.avi out --names {name}",
          "record v.avi out --names ../{frame}", "bitrate", "bitrate v.avi --csv",
          "bitrate v.avi --frames", "bitrate v.avi --frames ''",

          "scale a b --from jpg --to png", "scale a b --from gif --to png --size x2",
          "scale a --from jpg --to png --size x2", "average a out.gif --from jpg",
          "average a out.jpg --from bmp --quality 0",
          // An unset variable in a script: never the current folder, nor the root.
          "scale a '' --from bmp --to png --size x2", "average a '' --from bmp", "record v.avi ''",
          "frame '' 1 out.png", "bitrate v.avi --png ''", "sheet v.avi out.gif",
          "sheet v.avi out.png --cols 0", "sheet v.avi out.png --rows 65",
          "sheet v.avi out.png --width 100", "sheet v.avi ''"}) {
        const CliRun run = cli(m_dir, arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_NE(run.err, "") << arguments;
    }
}

TEST_F(CliTest, BadVideosFailWithOneLine)
{
    WriteBytes(m_dir.file("empty.avi"), {});
    WriteBytes(m_dir.file("text.avi"), {'h', 'e', 'l', 'l', 'o', '\n'});
    auto truncated = ReadBytes(s_video);
    truncated.resize(truncated.size() / 3);
    WriteBytes(m_dir.file("truncated.avi"), truncated);
    for (const char* name : {"empty.avi", "text.avi", "missing.avi"}) {
        const CliRun run = cli(m_dir, "info '" + m_dir.file(name) + "'");
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_EQ(countLines(run.err), 1) << name << ": " << run.err;
    }
    // A cut file still opens; the frames past the cut can't be saved.
    const CliRun cut = cli(m_dir, "frame '" + m_dir.file("truncated.avi") + "' 29 '" +
                                      m_dir.file("last.png") + "'");
    EXPECT_EQ(cut.status, 1) << cut.err;
    EXPECT_EQ(countLines(cut.err), 1) << cut.err;
}

TEST_F(CliTest, InfoTellsRangeRateAndKeyFrames)
{
    const CliRun run = cli(m_dir, "info '" + s_video + "' --keys");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("size: 64x48\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("first frame: 0 00:00:00.000\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("last frame: 29 00:00:01.160\n"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("rate: 25/1\nfps: 25\n"), std::string::npos) << run.out;
    // The encoder places key frames by its own rules; the file has three.
    EXPECT_NE(run.out.find("key frames: 3\n0\n"), std::string::npos) << run.out;
}

TEST_F(CliTest, FrameSavesTheNamedFrame)
{
    const std::string out = m_dir.file("f.png");
    ASSERT_EQ(cli(m_dir, "frame '" + s_video + "' 17 '" + out + "'").status, 0);
    CDibImage image;
    ASSERT_EQ(LoadPng(out, image), 1);
    EXPECT_EQ(image.Width(), 64);
    EXPECT_EQ(image.Height(), 48);

    const CliRun outside = cli(m_dir, "frame '" + s_video + "' 30 '" + out + "'");
    EXPECT_EQ(outside.status, 1);
    EXPECT_NE(outside.err.find("outside"), std::string::npos);
    const CliRun unwritable =
        cli(m_dir, "frame '" + s_video + "' 3 '" + m_dir.file("no/f.png") + "'");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("No such file or directory"), std::string::npos)
        << unwritable.err;
}

TEST_F(CliTest, RecordWritesNumberedFilesIntoANewFolder)
{
    const std::string folder = m_dir.file("a/b/frames");
    const CliRun run = cli(m_dir, "record '" + s_video + "' '" + folder +
                                      "' --from 10 --to 22 --every 5 --format png");
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"000010.png", "000015.png", "000020.png"}));
    EXPECT_NE(run.err.find("3 images written"), std::string::npos) << run.err;

    WriteBytes(m_dir.file("file"), {1});
    const CliRun blocked = cli(m_dir, "record '" + s_video + "' '" + m_dir.file("file/sub") + "'");
    EXPECT_EQ(blocked.status, 1);
    EXPECT_NE(blocked.err.find("can't create target folder"), std::string::npos) << blocked.err;
}

// A frame saved alone and the same frame recorded carry the same provenance, so their files are
// the same; without --provenance the file names nothing.
TEST_F(CliTest, ProvenanceNamesTheVideoAloneTheSameWayInFrameAndRecord)
{
    const std::string alone = m_dir.file("alone.jpg");
    ASSERT_EQ(cli(m_dir, "frame '" + s_video + "' 13 '" + alone + "' --provenance").status, 0);
    const std::string folder = m_dir.file("frames");
    ASSERT_EQ(cli(m_dir, "record '" + s_video + "' '" + folder +
                             "' --from 13 --to 13 --format jpg --provenance")
                  .status,
              0);
    const std::vector<std::uint8_t> bytes = ReadBytes(alone);
    EXPECT_EQ(ReadBytes(folder + "/000013.jpg"), bytes);
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_NE(text.find("Source: clip.avi\nFrame: 13\nTime: 00:00:00.520"), std::string::npos);
    EXPECT_EQ(text.find(s_dir->path().string()), std::string::npos);

    const std::string plain = m_dir.file("plain.png");
    ASSERT_EQ(cli(m_dir, "frame '" + s_video + "' 13 '" + plain + "'").status, 0);
    const std::vector<std::uint8_t> plainBytes = ReadBytes(plain);
    EXPECT_EQ(std::string(plainBytes.begin(), plainBytes.end()).find("tEXt"), std::string::npos);
}

TEST_F(CliTest, RecordStopsAtAFileThatCantBeWrittenAndKeepsWhatWasWritten)
{
    const std::string folder = m_dir.file("full");
    fs::create_directories(folder + "/000004.jpg");
    const CliRun run = cli(m_dir, "record '" + s_video + "' '" + folder + "' --format jpg");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("000004.jpg. Is a directory"), std::string::npos) << run.err;
    for (int frame = 0; frame < 4; ++frame)
        EXPECT_TRUE(fs::exists(folder + "/00000" + std::to_string(frame) + ".jpg"));
    EXPECT_FALSE(fs::exists(folder + "/000005.jpg"));
}

TEST_F(CliTest, SizesListsEveryFrame)
{
    const CliRun run = cli(m_dir, "sizes '" + s_video + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(countLines(run.out), 30);
    EXPECT_EQ(run.out.rfind("0\t", 0), 0u);
}

TEST_F(CliTest, BitrateGivesTheDialogsFiguresWithoutAScreen)
{
    // Uncompressed 64x48 frames in QuickTime: 9,216 bytes each, 1,800 kbps a second.
    const std::string video = m_dir.file("raw.mov");
    const std::string make = "ffmpeg -v error -y -f lavfi -i testsrc=size=64x48:rate=25 "
                             "-frames:v 60 -c:v rawvideo -pix_fmt bgr24 '" +
                             video + "'";
    ASSERT_EQ(std::system(make.c_str()), 0);
    const std::string csv = m_dir.file("seconds.csv");
    const std::string png = m_dir.file("chart.png");
    const CliRun run = cli(m_dir, "bitrate '" + video + "' --csv '" + csv + "' --png '" + png + "'",
                           "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("average: 1800 kbps\nmax: 1800 kbps\nmin: 1800 kbps\n"
                           "coefficient of variation: 0.000\nseconds: 2\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(ReadText(csv), "second,kbps\n0,1800\n1,1800\n");
    CDibImage chart;
    ASSERT_EQ(LoadPng(png, chart), 1);
    EXPECT_EQ(chart.Width(), 640);
    EXPECT_EQ(chart.Height(), 136);
}

TEST_F(CliTest, SheetDrawsTheGridAtTheWidthAskedFor)
{
    // 30 frames fill seven rows and a half of four columns: ten rows asked for draw eight.
    const std::string tall = m_dir.file("tall.png");
    const std::string eight = m_dir.file("eight.jpg");
    const std::string environment = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM ";
    const CliRun run =
        cli(m_dir, "sheet '" + s_video + "' '" + tall + "' --rows 10 --width 640", environment);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    ASSERT_EQ(
        cli(m_dir, "sheet '" + s_video + "' '" + eight + "' --rows 8 --width 640", environment)
            .status,
        0);
    CDibImage sheet;
    ASSERT_EQ(LoadPng(tall, sheet), 1);
    EXPECT_EQ(sheet.Width(), 640);
    // Eight rows of 64x48 frames scaled to 155 pixels wide, 116 high, with their labels.
    EXPECT_GT(sheet.Height(), 8 * 116);
    EXPECT_LT(sheet.Height(), 8 * (116 + 40) + 100);
    CDibImage eightRows;
    ASSERT_EQ(LoadJpeg(eight, eightRows), 1);
    EXPECT_EQ(eightRows.Width(), 640);
    EXPECT_EQ(eightRows.Height(), sheet.Height());
}

TEST_F(CliTest, BitrateFramesWritesEveryFrameInTheOrderShownOverAnOldTable)
{
    // MPEG-4 with B-frames in MP4, whose frames are numbered as shown; `sizes` gives their bytes.
    const std::string video = m_dir.file("typed.mp4");
    ASSERT_EQ(std::system(("ffmpeg -v error -y -f lavfi -i testsrc=size=64x48:rate=25 "
                           "-frames:v 6 -c:v mpeg4 -bf 1 -g 3 '" +
                           video + "'")
                              .c_str()),
              0);
    const std::string csv = m_dir.file("frames.csv");
    WriteBytes(csv, {'o', 'l', 'd'});
    const CliRun run = cli(m_dir, "bitrate '" + video + "' --frames '" + csv + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("key frame interval: shortest 4, average 4.00, longest 4 frames\n"),
              std::string::npos)
        << run.out;
    const CliRun sizes = cli(m_dir, "sizes '" + video + "'");
    ASSERT_EQ(sizes.status, 0) << sizes.err;
    std::string expected = "frame,time,bytes,type,key\n";
    const char* types = "IBPBIP";
    std::istringstream lines(sizes.out);
    for (int frame = 0, number, bytes; lines >> number >> bytes; ++frame) {
        char row[64];
        std::snprintf(row, sizeof row, "%d,%.6f,%d,%c,%d\n", frame, frame * 0.04, bytes,
                      types[frame], types[frame] == 'I' ? 1 : 0);
        expected += row;
    }
    EXPECT_EQ(ReadText(csv), expected);
}

TEST_F(CliTest, ScaleAndAverageWriteWhatTheDialogsWrite)
{
    const fs::path source = m_dir.path() / "photos";
    fs::create_directory(source);
    for (const char* name : {"a.bmp", "b.bmp"}) {
        CDibImage image = NoiseImage(20, 10);
        SaveTestImage(ImageFormat::Bmp, (source / name).string(), image);
    }
    WriteBytes((source / "bad.bmp").string(), {'x'});
    const std::string from = "'" + source.string() + "' '" + m_dir.file("cli");

    const CliRun scale = cli(m_dir, "scale " + from + "' --from bmp --to png --size x2");
    ASSERT_EQ(scale.status, 0) << scale.err;
    EXPECT_NE(scale.err.find("skipped " + (source / "bad.bmp").string()), std::string::npos);
    const CliRun average =
        cli(m_dir, "average " + from + "/avg.jpg' --from bmp --auto-number --quality 80");
    ASSERT_EQ(average.status, 0) << average.err;
    EXPECT_EQ(FileNames(source), (std::vector<std::string>{"a.bmp", "b.bmp", "bad.bmp"}));

    // The same jobs, run here, make the same files.
    RecordingProgress progress;
    FakeTrash trash(m_dir.path() / "trash");
    CScaleJob scaleJob(trash, progress);
    ASSERT_EQ(scaleJob.start({source.string(), ImageFormat::Bmp, m_dir.file("job"),
                              ImageFormat::Png, 1, 95, SourceFiles::Keep}),
              BatchStart::Ready);
    scaleJob.run();
    CAverageJob averageJob(trash, progress);
    ASSERT_EQ(
        averageJob.start({source.string(), ImageFormat::Bmp, m_dir.file("job/avg.jpg"),
                          ResizedCopy::Yes, ResizedCopy::Yes, AutoNumber::Yes, SourceFiles::Keep}),
        BatchStart::Ready);
    averageJob.run();
    averageJob.finish(80);
    const std::vector<std::string> names{"a.png", "avg000000.jpg", "avg000000_1024x768.jpg",
                                         "avg000000_800x600.jpg", "b.png"};
    ASSERT_EQ(FileNames(m_dir.file("cli")), names);
    for (const std::string& name : names)
        EXPECT_EQ(ReadBytes(m_dir.file("cli/" + name)), ReadBytes(m_dir.file("job/" + name)))
            << name;
}

TEST_F(CliTest, TrashSourcesTakesOnlySourcesWhoseResultsWereWritten)
{
    const fs::path source = m_dir.path() / "photos";
    fs::create_directory(source);
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"}) {
        CDibImage image = NoiseImage(20, 10);
        SaveTestImage(ImageFormat::Bmp, (source / name).string(), image);
    }
    // A folder stands in the way of the second result.
    fs::create_directories(m_dir.file("out/b.jpg"));
    const std::string home = m_dir.file("home");
    const CliRun run = cli(m_dir,
                           "scale '" + source.string() + "' '" + m_dir.file("out") +
                               "' --from bmp --to jpg --size x3 --trash-sources",
                           "HOME='" + home + "' XDG_DATA_HOME='" + home + "/data' ");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("b.jpg. Is a directory"), std::string::npos) << run.err;
    EXPECT_EQ(FileNames(source), (std::vector<std::string>{"b.bmp", "c.bmp"}));
    EXPECT_EQ(FileNames(home + "/data/Trash/files"), std::vector<std::string>{"a.bmp"});

    // A source kept because its result would take another source's name fails the run too.
    const fs::path clash = m_dir.path() / "clash";
    fs::create_directory(clash);
    for (const char* name : {"a.BMP", "a.bmp"}) {
        CDibImage image = NoiseImage(4, 4);
        SaveTestImage(ImageFormat::Bmp, (clash / name).string(), image);
    }
    const CliRun kept = cli(m_dir, "scale '" + clash.string() + "' '" + clash.string() +
                                       "' --from bmp --to bmp --size x2");
    EXPECT_EQ(kept.status, 1) << kept.err;
    EXPECT_NE(kept.err.find("1 source file(s) were left alone without a result"), std::string::npos)
        << kept.err;
}

TEST_F(CliTest, HostileNamesWorkOrFailWithOneClearLine)
{
    // Blanks, both quotes, a line break, a leading dash and a byte that is not UTF-8.
    const std::string name = "-a 'b' \"c\"\nd\xFF";
    const fs::path work = m_dir.path() / "work";
    fs::create_directory(work);
    fs::copy_file(s_video, work / (name + ".avi"));

    // A relative name that starts with a dash goes after "--"; without it the line says so.
    const CliRun unsure = cliIn(m_dir, work, {"record", name + ".avi", name});
    EXPECT_EQ(unsure.status, 2);
    EXPECT_EQ(countLines(unsure.err), 1) << unsure.err;
    EXPECT_NE(unsure.err.find("goes after \"--\""), std::string::npos) << unsure.err;
    const CliRun record =
        cliIn(m_dir, work, {"record", "--to", "2", "--format", "bmp", "--", name + ".avi", name});
    ASSERT_EQ(record.status, 0) << record.err;
    EXPECT_EQ(FileNames(work / name),
              (std::vector<std::string>{"000000.bmp", "000001.bmp", "000002.bmp"}));
    const std::string frames = (work / name).string();
    const std::string scaled = (work / (name + " scaled")).string();
    const std::string average = (work / (name + " avg.png")).string();
    EXPECT_EQ(cliIn(m_dir, work,
                    {"scale", frames, scaled, "--from", "bmp", "--to", "png", "--size", "x2"})
                  .status,
              0);
    EXPECT_EQ(cliIn(m_dir, work,
                    {"average", frames, average, "--from", "bmp", "--no-800x600", "--no-1024x768"})
                  .status,
              0);
    EXPECT_EQ(FileNames(scaled).size(), 3u);
    // Nothing lands outside the folders and files named.
    EXPECT_EQ(FileNames(work),
              (std::vector<std::string>{name, name + " avg.png", name + " scaled", name + ".avi"}));

    // The trash takes such names as they are, and keeps them for restoring.
    const std::string data = m_dir.file("data");
    setenv("XDG_DATA_HOME", data.c_str(), 1);
    const CliRun trashed = cliIn(m_dir, work,
                                 {"scale", scaled, frames, "--from", "png", "--to", "png", "--size",
                                  "x2", "--trash-sources"});
    unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(trashed.status, 0) << trashed.err;
    EXPECT_TRUE(FileNames(scaled).empty());
    EXPECT_EQ(FileNames(data + "/Trash/files"),
              (std::vector<std::string>{"000000.png", "000001.png", "000002.png"}));
    EXPECT_NE(ReadText(data + "/Trash/info/000000.png.trashinfo")
                  .find("Path=" + (m_dir.path() / "work").string() +
                        "/-a%20%27b%27%20%22c%22%0Ad%FF%20scaled/000000.png\n"),
              std::string::npos);

    // Names too long for the file system, and missing files, fail with one line that names them
    // in escapes.
    const std::string tooLong = (work / std::string(300, 'n')).string();
    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"record", "--to", "1", "--", name + ".avi", tooLong},
          {"frame", "--", name + ".avi", "1", tooLong + ".png"},
          {"scale", frames, tooLong, "--from", "bmp", "--to", "png", "--size", "x2"},
          {"info", "--", name + "-missing.avi"}}) {
        const CliRun failed = cliIn(m_dir, work, words);
        EXPECT_EQ(failed.status, 1) << words[0];
        EXPECT_EQ(countLines(failed.err), 1) << failed.err;
    }
    const CliRun missing = cliIn(m_dir, work, {"info", "--", name + "-missing.avi"});
    EXPECT_NE(missing.err.find("-a 'b' \"c\"\\nd\\xFF-missing.avi"), std::string::npos)
        << missing.err;
    EXPECT_EQ(FileNames(work).size(), 4u);
}
