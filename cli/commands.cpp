#include "cli/commands.h"

#include "bitrate/bitrate_series.h"
#include "bitrate/chart_layers.h"
#include "bitrate/chart_picture.h"
#include "bitrate/frame_series.h"
#include "cli/cli_support.h"
#include "cli/progress_line.h"
#include "image/dib_image.h"
#include "image/image_format.h"
#include "platform/error.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "settings/settings.h"
#include "sheet/sheet_picture.h"
#include "video/contact_sheet.h"
#include "video/frame_export.h"
#include "video/recorder.h"
#include "video/video_reader.h"

#include <QGuiApplication>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <unistd.h>

namespace {

// Says how far a read through the file has got on a terminal, as "reading WHAT: 42%", and stops
// it at Ctrl-C, while it lives; then Ctrl-C ends the program again, unless a command catches it
// for a loop.
class ReadProgress
{
public:
    explicit ReadProgress(const char* what) : m_what(what) { CatchInterrupt(); }
    ~ReadProgress()
    {
        std::signal(SIGINT, SIG_DFL);
        if (m_told)
            std::fputs("\r\033[K", stderr);
    }
    ReadProgress(const ReadProgress&) = delete;
    ReadProgress& operator=(const ReadProgress&) = delete;

    std::function<bool(int permille)> callback()
    {
        return [this](int permille) {
            if (isatty(STDERR_FILENO)) {
                std::fprintf(stderr, "\rreading %s: %d%%\033[K", m_what, permille / 10);
                std::fflush(stderr);
                m_told = true;
            }
            return !Interrupted();
        };
    }

private:
    const char* m_what;
    bool m_told = false;
};

bool openVideo(VideoReader& reader, const std::string& path, WantFrames wantFrames)
{
    // A file read through for its frames says how far it has got, on a terminal; Ctrl-C stops.
    const Outcome opened = [&] {
        ReadProgress progress("the video's frames");
        return reader.open(path, wantFrames, progress.callback());
    }();
    if (!opened) {
        Fail(EnglishText(opened.error()));
        return false;
    }
    return true;
}

bool openDecodable(VideoReader& reader, const std::string& path)
{
    if (!openVideo(reader, path, WantFrames::Yes))
        return false;
    if (!reader.facts().decoderProblem)
        return true;
    const Error& problem = *reader.facts().decoderProblem;
    Fail("the video's codec can't be decoded: " +
         (problem.what == Failure::FrameSize ? std::string("the video's frame size is unusable")
                                             : problem.detail));
    return false;
}

std::string frameRange(const VideoFacts& video)
{
    return std::to_string(video.firstFrame) + " to " + std::to_string(video.lastFrame);
}

// The colour matrix that --matrix forces, or the settings' own.
PictureOptions pictureOptions(const CommandLine& line, const CSettings& settings)
{
    PictureOptions options = PictureOptionsOf(settings);
    const auto matrix = line.options.find("--matrix");
    if (matrix == line.options.end())
        return options;
    const std::vector<std::pair<std::string, ColorMatrixChoice>> names = {
        {"auto", ColorMatrixChoice::Auto},
        {"bt601", ColorMatrixChoice::Bt601},
        {"bt709", ColorMatrixChoice::Bt709}};
    const auto known = std::find_if(names.begin(), names.end(),
                                    [&](const auto& name) { return name.first == matrix->second; });
    if (known == names.end())
        throw UsageError("--matrix takes auto, bt601 or bt709");
    options.matrix = known->second;
    return options;
}

// The format a still's file name asks for; a wrong extension is a wrong command line.
ImageFormat stillFormat(const std::string& path)
{
    const std::optional<ImageFormat> format = ImageFormatOfPath(path);
    if (!format)
        throw UsageError("Sorry, the valid extension only can be jpg, png or bmp.");
    return *format;
}

// --quality, or the JPEG quality of the settings.
int stillQuality(const CommandLine& line, const CSettings& settings)
{
    return IntegerOption(line, "--quality", 0, 100)
        .value_or(settings.GetOption(OPTION_JPEG_QUALITY));
}

std::string ratioText(PictureDescription::Ratio ratio)
{
    if (ratio.den <= 0)
        return "unknown";
    return std::to_string(ratio.num) + ":" + std::to_string(ratio.den);
}

std::string withNote(const std::string& value, const std::string& note)
{
    return note.empty() ? value : value + " (" + note + ")";
}

// "00:01:02.345": hours, minutes, seconds and milliseconds.
std::string durationText(std::chrono::nanoseconds duration)
{
    const std::int64_t milliseconds = std::max<std::int64_t>(duration.count(), 0) / 1000000;
    char text[48];
    std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld.%03lld",
                  static_cast<long long>(milliseconds / 3600000),
                  static_cast<long long>(milliseconds / 60000 % 60),
                  static_cast<long long>(milliseconds / 1000 % 60),
                  static_cast<long long>(milliseconds % 1000));
    return text;
}

void printPicture(const PictureDescription& picture)
{
    std::printf("codec: %s\n",
                withNote(picture.codec, picture.profile.empty() ? "" : picture.profile).c_str());
    std::printf("pixel format: %s, %d bits\n", picture.pixelFormat.c_str(), picture.bitDepth);
    std::printf("matrix: %s\n", withNote(picture.matrix, picture.matrixNote).c_str());
    std::printf("range: %s\n", withNote(picture.range, picture.rangeNote).c_str());
    std::printf("primaries: %s\n", picture.primaries.c_str());
    std::printf("transfer: %s\n", picture.transfer.c_str());
    if (!picture.conversion.empty())
        std::printf("colour: %s\n", picture.conversion.c_str());
    const std::string turn = picture.clockwiseRotation == 0
                                 ? "none"
                                 : std::to_string(picture.clockwiseRotation) + " degrees clockwise";
    std::printf("rotation: %s%s%s\n", turn.c_str(), picture.mirrored ? ", mirrored" : "",
                picture.orientationKept ? " (kept as stored: KeepRotation)" : "");
    std::printf("interlaced: %s\n", !picture.interlaced    ? "no"
                                    : picture.deinterlaced ? "yes (deinterlaced)"
                                                           : "yes (kept: Deinterlace is off)");
    std::printf("sample aspect: %s\n", ratioText(picture.sampleAspect).c_str());
    std::printf("display aspect: %s\n", ratioText(picture.displayAspect).c_str());
    std::printf("picture size: %dx%d\n", picture.shownWidth, picture.shownHeight);
}

} // namespace

int RunInfo(const CommandLine& line, const CSettings& settings)
{
    ExpectArguments(line, 1, "info VIDEO [--keys]");
    VideoReader reader;
    reader.setFrameCacheBudget(0);
    reader.setPictureOptions(PictureOptionsOf(settings));
    if (!openVideo(reader, line.arguments[0], WantFrames::Yes))
        return 1;
    const VideoFacts& video = reader.facts();

    std::vector<int> keys;
    for (int key = reader.findKeyFrame(video.firstFrame, SearchDirection::Forward); key >= 0;
         key = reader.findKeyFrame(key + 1, SearchDirection::Forward)) {
        keys.push_back(key);
        if (key == video.lastFrame)
            break;
    }
    std::printf("file: %s\n", Printable(video.path).c_str());
    // Most files keep their colour tags in the pictures more than in the headers.
    reader.decode(video.firstFrame);
    const PictureDescription picture = reader.describePicture();
    std::printf("size: %dx%d\n", picture.storedWidth, picture.storedHeight);
    std::printf("first frame: %s\n",
                FrameText(video.firstFrame, reader.sampleTime(video.firstFrame)).c_str());
    std::printf("last frame: %s\n",
                FrameText(video.lastFrame, reader.sampleTime(video.lastFrame)).c_str());
    std::printf("frames: %d\n", video.lastFrame - video.firstFrame + 1);
    std::printf("rate: %u/%u\n", video.rate, video.scale);
    std::printf("fps: %d\n", video.framesPerSecond);
    std::printf("constant frame rate: %s\n", video.constantRate ? "yes" : "no");
    std::printf("duration: %s\n", durationText(video.duration).c_str());
    std::printf("bitrate: %lld\n", static_cast<long long>(video.titleBitrate));
    std::printf("decoder: %s\n", reader.hasDecoder() ? "yes" : "none");
    printPicture(picture);
    std::printf("key frames: %zu\n", keys.size());
    if (line.options.count("--keys")) {
        for (int key : keys)
            std::printf("%d\n", key);
    }
    return 0;
}

int RunFrame(const CommandLine& line, const CSettings& settings)
{
    ExpectArguments(line, 3,
                    "frame VIDEO N OUT [--quality Q] [--provenance] [--matrix auto|bt601|bt709]");
    const int frame = IntegerArgument(line.arguments[1], "the frame number");
    const std::string& out = line.arguments[2];
    const ImageFormat format = stillFormat(out);
    const int quality = stillQuality(line, settings);

    VideoReader reader;
    // One frame is wanted, once: keeping the ones decoded on the way would only cost memory.
    reader.setFrameCacheBudget(0);
    reader.setPictureOptions(pictureOptions(line, settings));
    if (!openDecodable(reader, line.arguments[0]))
        return 1;
    const VideoFacts& video = reader.facts();
    if (frame < video.firstFrame || frame > video.lastFrame)
        return Fail("frame " + std::to_string(frame) + " is outside the video's frames " +
                    frameRange(video));
    reader.decode(frame);
    CDibImage image;
    if (!image.Create(video.width, video.height, 24) || !reader.copyPictureInto(image))
        return Fail("frame " + std::to_string(frame) + " can't be decoded");
    // As the windows' Save Current Image and a recording write the frame.
    std::optional<ImageProvenance> provenance;
    if (line.options.count("--provenance") || RecordingFormatOf(settings).provenance)
        provenance = ProvenanceOf(reader, frame);
    if (const Outcome saved =
            SaveImage(format, out, image, quality, provenance ? &*provenance : nullptr);
        !saved)
        return Fail(EnglishText(saved.error()));
    return 0;
}

namespace {

// Which frames a recording saves, from the command line; the settings' choice when it names none.
FrameChoice frameChoice(const CommandLine& line, RecordingFormat& writing)
{
    int named = 0;
    FrameChoice choice = writing.choice;
    if (line.options.count("--every")) {
        choice = FrameChoice::EveryStep;
        ++named;
    }
    if (const auto seconds = line.options.find("--every-seconds"); seconds != line.options.end()) {
        char* end = nullptr;
        const double value = std::strtod(seconds->second.c_str(), &end);
        if (seconds->second.empty() || *end != '\0' || !(value >= 0.001 && value <= 1e6))
            throw UsageError("--every-seconds takes a number of seconds from 0.001 to 1000000");
        writing.seconds = value;
        choice = FrameChoice::EverySeconds;
        ++named;
    }
    if (line.options.count("--keys")) {
        choice = FrameChoice::KeyFrames;
        ++named;
    }
    if (line.options.count("--scenes")) {
        choice = FrameChoice::SceneChanges;
        ++named;
    }
    if (const auto threshold = IntegerOption(line, "--scene-threshold", 1, 255)) {
        writing.sceneThreshold = *threshold;
        if (!line.options.count("--scenes"))
            throw UsageError("--scene-threshold goes with --scenes");
    }
    if (named > 1)
        throw UsageError("--every, --every-seconds, --keys and --scenes exclude one another");
    return choice;
}

} // namespace

int RunRecord(const CommandLine& line, const CSettings& settings)
{
    ExpectArguments(line, 2,
                    "record VIDEO FOLDER [--from N] [--to M] [--every K | --every-seconds S | "
                    "--keys | --scenes [--scene-threshold T]] [--format jpg|png|bmp] "
                    "[--quality Q] [--provenance] [--names PATTERN] [--manifest] "
                    "[--matrix auto|bt601|bt709]");
    RecordOptions options;
    options.folder = line.arguments[1];
    options.writing = RecordingFormatOf(settings);
    if (const auto every = IntegerOption(line, "--every", 1, 1000000))
        options.writing.step = *every;
    options.writing.choice = frameChoice(line, options.writing);
    if (const auto quality = IntegerOption(line, "--quality", 0, 100))
        options.writing.quality = *quality;
    if (line.options.count("--provenance"))
        options.writing.provenance = true;
    if (const auto names = line.options.find("--names"); names != line.options.end()) {
        Result<FileNamePattern> pattern = FileNamePattern::Parse(names->second);
        if (!pattern)
            throw UsageError(Printable(EnglishText(pattern.error())));
        options.writing.names = std::move(*pattern);
    }
    if (line.options.count("--manifest"))
        options.writing.manifest = true;
    if (const auto name = line.options.find("--format"); name != line.options.end()) {
        const std::optional<ImageFormat> format = ImageFormatByName(name->second);
        if (!format)
            throw UsageError("--format takes jpg, png or bmp");
        options.writing.format = *format;
    }
    const PictureOptions picture = pictureOptions(line, settings);

    VideoReader reader;
    // Every frame is decoded once, in order: none is asked for again.
    reader.setFrameCacheBudget(0);
    reader.setPictureOptions(picture);
    if (!openDecodable(reader, line.arguments[0]))
        return 1;
    const VideoFacts& video = reader.facts();
    options.from = IntegerOption(line, "--from", INT32_MIN, INT32_MAX).value_or(video.firstFrame);
    options.to = IntegerOption(line, "--to", INT32_MIN, INT32_MAX).value_or(video.lastFrame);
    if (options.from < video.firstFrame || options.from > video.lastFrame)
        return Fail("--from " + std::to_string(options.from) + " is outside the video's frames " +
                    frameRange(video));
    if (const std::string error = MakeSureDirectoryPathExists(options.folder); !error.empty())
        return Fail(EnglishText(Error{Failure::CreateFolder, options.folder, 0, error}));

    ProgressLine progress(isatty(STDERR_FILENO) ? ProgressLine::Shown : ProgressLine::Hidden,
                          options.from, std::min(options.to, video.lastFrame));
    CatchInterrupt();
    const RecordResult result = RecordFrames(
        reader, options,
        [&](int frame) { progress.show(FrameText(frame, reader.sampleTime(frame)), frame); },
        [] { return Interrupted(); });
    progress.end();
    std::fprintf(stderr, "%d image%s written to %s%s%s\n", result.saved,
                 result.saved == 1 ? "" : "s", Printable(options.folder).c_str(),
                 result.listed ? ", listed in frames.csv" : "", Interrupted() ? " (stopped)" : "");
    if (result.error)
        return Fail(EnglishText(*result.error));
    if (result.undecodable > 0)
        return Fail(std::to_string(result.undecodable) +
                    " of the frames could not be decoded and were not saved");
    return Interrupted() ? 1 : 0;
}

int RunSizes(const CommandLine& line)
{
    ExpectArguments(line, 1, "sizes VIDEO");
    VideoReader reader;
    if (!openVideo(reader, line.arguments[0], WantFrames::No))
        return 1;
    int frame = reader.facts().firstFrame;
    for (const std::uint32_t bytes : reader.storedSizes())
        std::printf("%d\t%u\n", frame++, bytes);
    return std::fflush(stdout) == 0 ? 0 : Fail("can't write the sizes");
}

namespace {

std::string figure(std::optional<std::uint64_t> value)
{
    return value ? std::to_string(*value) + " kbps" : "-";
}

Outcome writeSecondsCsv(const std::vector<std::uint64_t>& values, const std::string& path)
{
    // A table is often sent through a link, /dev/stdout for one: it goes where the link leads.
    CFileReplacement file(path, Publishing::OnCommit, Links::Follow);
    std::FILE* stream = file.open();
    if (stream == nullptr)
        return Error{Failure::WriteFile, path, errno};
    std::fputs("second,kbps\n", stream);
    for (size_t second = 0; second < values.size(); ++second)
        std::fprintf(stream, "%zu,%llu\n", second, static_cast<unsigned long long>(values[second]));
    if (const int error = file.commit(); error != 0)
        return Error{Failure::WriteFile, path, error};
    return Done{};
}

Outcome writeFramesCsv(const FrameSeries& series, const std::string& path)
{
    CFileReplacement file(path, Publishing::OnCommit, Links::Follow);
    std::FILE* stream = file.open();
    if (stream == nullptr)
        return Error{Failure::WriteFile, path, errno};
    std::fputs("frame,time,bytes,type,key\n", stream);
    for (const StoredFrame& frame : series.frames)
        std::fprintf(stream, "%d,%s,%u,%c,%d\n", frame.frame, SecondsText(frame.time).c_str(),
                     frame.bytes, PictureTypeLetter(frame.type), frame.key ? 1 : 0);
    if (const int error = file.commit(); error != 0)
        return Error{Failure::WriteFile, path, error};
    return Done{};
}

// The picture types need the packets themselves: the file is read through once more.
Outcome writeFrames(const VideoReader& reader, const std::string& path)
{
    const Result<FrameSeries> series = [&] {
        ReadProgress progress("the pictures' types");
        return FrameSeriesReader::read(reader, progress.callback());
    }();
    if (!series)
        return series.error();
    if (const std::optional<GroupLengths> groups = series->groupLengths())
        std::printf("key frame interval: shortest %d, average %.2f, longest %d frames\n",
                    groups->shortest, groups->average, groups->longest);
    return writeFramesCsv(*series, path);
}

void dropQtMessage(QtMsgType, const QMessageLogContext&, const QString&) {}

// Keeps Qt's notes about the desktop it runs without (no runtime folder and the like) off
// standard error while it lives; failures are reported in our own words.
class QuietQt
{
public:
    QuietQt() : m_previous(qInstallMessageHandler(dropQtMessage)) {}
    ~QuietQt() { qInstallMessageHandler(m_previous); }
    QuietQt(const QuietQt&) = delete;
    QuietQt& operator=(const QuietQt&) = delete;

private:
    QtMessageHandler m_previous;
};

// A Qt Gui application without a screen, which Qt needs to draw text, quiet while it lives.
class OffscreenGui
{
public:
    OffscreenGui() : m_application(m_count, m_arguments) {}

private:
    const QuietQt m_quiet;
    char m_name[13] = "clipmint-cli";
    char m_platform[10] = "-platform";
    char m_offscreen[10] = "offscreen";
    char* m_arguments[4] = {m_name, m_platform, m_offscreen, nullptr};
    int m_count = 3;
    const QGuiApplication m_application;
};

// Draws the chart as the Bitrate dialog shows it.
Outcome saveChart(const std::vector<std::uint64_t>& values, unsigned timeRange,
                  const std::string& path)
{
    const OffscreenGui gui;
    ChartLayers chart(kBitrateChartSize, ValueAxis::Doubling);
    chart.setTimeRange(timeRange);
    for (std::uint64_t value : values)
        chart.addValue(double(value));
    return SavePicturePng(chart.picture(), path);
}

} // namespace

int RunBitrate(const CommandLine& line)
{
    ExpectArguments(line, 1, "bitrate VIDEO [--csv FILE] [--png FILE] [--frames FILE]");
    VideoReader reader;
    if (!openVideo(reader, line.arguments[0], WantFrames::No))
        return 1;
    const VideoFacts& video = reader.facts();
    BitrateSeries series = SeriesOf(video);
    std::vector<std::uint64_t> values;
    const auto add = [&values](const std::vector<std::uint64_t>& completed) {
        values.insert(values.end(), completed.begin(), completed.end());
    };
    int frame = video.firstFrame;
    for (const std::uint32_t bytes : reader.storedSizes())
        add(series.addFrame(bytes, reader.frameTime(frame++)));
    add(series.finishRun(video.duration));
    const std::int64_t bitrate = video.titleBitrate;

    const std::optional<double> variation = series.coefficientOfVariation();
    std::printf("total: %lld kbps\n", static_cast<long long>(bitrate));
    std::printf("average: %s\n", figure(series.average()).c_str());
    std::printf("max: %s\n", figure(series.maximum()).c_str());
    std::printf("min: %s\n", figure(series.minimum()).c_str());
    std::printf("coefficient of variation: %s\n",
                variation ? VariationText(*variation).c_str() : "-");
    std::printf("seconds: %zu\n", values.size());
    if (const auto csv = line.options.find("--csv"); csv != line.options.end()) {
        if (const Outcome written = writeSecondsCsv(values, csv->second); !written)
            return Fail(EnglishText(written.error()));
    }
    if (const auto png = line.options.find("--png"); png != line.options.end()) {
        if (const Outcome saved = saveChart(values, TimeRangeOf(video), png->second); !saved)
            return Fail(EnglishText(saved.error()));
    }
    if (const auto frames = line.options.find("--frames"); frames != line.options.end()) {
        if (const Outcome written = writeFrames(reader, frames->second); !written)
            return Fail(EnglishText(written.error()));
    }
    return std::fflush(stdout) == 0 ? 0 : Fail("can't write the figures");
}

int RunSheet(const CommandLine& line, const CSettings& settings)
{
    ExpectArguments(line, 2,
                    "sheet VIDEO OUT [--cols C] [--rows R] [--width W] [--keys] [--quality Q] "
                    "[--matrix auto|bt601|bt709]");
    const std::string& out = line.arguments[1];
    const ImageFormat format = stillFormat(out);
    SheetGrid grid;
    grid.columns = IntegerOption(line, "--cols", 1, kSheetMaxColumns).value_or(grid.columns);
    grid.rows = IntegerOption(line, "--rows", 1, kSheetMaxRows).value_or(grid.rows);
    grid.width =
        IntegerOption(line, "--width", kSheetMinWidth, kSheetMaxWidth).value_or(grid.width);
    if (line.options.count("--keys"))
        grid.frames = SheetFrames::KeyFrames;
    const int quality = stillQuality(line, settings);

    VideoReader reader;
    // Each cell's frame is decoded once, in order: none is asked for again.
    reader.setFrameCacheBudget(0);
    reader.setPictureOptions(pictureOptions(line, settings));
    if (!openDecodable(reader, line.arguments[0]))
        return 1;
    const OffscreenGui gui;
    const Result<QImage> sheet = DrawContactSheet(reader, grid);
    if (!sheet)
        return Fail(EnglishText(sheet.error()));
    if (const Outcome saved = SaveContactSheet(*sheet, format, out, quality); !saved)
        return Fail(EnglishText(saved.error()));
    return 0;
}
