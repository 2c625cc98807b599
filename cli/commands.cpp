#include "cli/commands.h"

#include "bitrate/bitrate_series.h"
#include "bitrate/chart_layers.h"
#include "bitrate/chart_picture.h"
#include "cli/cli_support.h"
#include "cli/console_owner.h"
#include "image/image_format.h"
#include "platform/exception.h"
#include "platform/file_replacement.h"
#include "platform/file_system.h"
#include "settings/settings.h"
#include "video/frame_source.h"

#include <QGuiApplication>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <unistd.h>

namespace {

bool openVideo(CFrameSource& source, const std::string& path, FrameSourceOwner& owner,
               WantFrames wantFrames, std::int64_t& bitrate)
{
    if (source.Open(path, nullptr, &owner, bitrate, wantFrames))
        return true;
    Fail("can't open " + path + ": " + source.errorText());
    return false;
}

bool openDecodable(CFrameSource& source, const std::string& path, FrameSourceOwner& owner)
{
    std::int64_t bitrate = 0;
    if (!openVideo(source, path, owner, WantFrames::Yes, bitrate))
        return false;
    if (source.hasDecoder())
        return true;
    Fail("the video's codec can't be decoded: " + source.errorText());
    return false;
}

// Reads --matrix into the settings' colour matrix.
void takeMatrixOption(const CommandLine& line, CSettings& settings)
{
    const auto matrix = line.options.find("--matrix");
    if (matrix == line.options.end())
        return;
    const std::vector<std::string> names = {"auto", "bt601", "bt709"};
    const auto known = std::find(names.begin(), names.end(), matrix->second);
    if (known == names.end())
        throw UsageError("--matrix takes auto, bt601 or bt709");
    settings.SetOption(OPTION_COLOR_MATRIX, static_cast<int>(known - names.begin()));
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
    ConsoleOwner owner(ConsoleOwner::Progress::Hidden);
    CFrameSource source;
    source.setFrameCacheBudget(0);
    source.setPictureOptions(PictureOptionsOf(settings));
    std::int64_t bitrate = 0;
    if (!openVideo(source, line.arguments[0], owner, WantFrames::Yes, bitrate))
        return 1;

    std::vector<int> keys;
    for (int key = source.FindKeyFrame(source.firstFrame(), SearchDirection::Forward); key >= 0;
         key = source.FindKeyFrame(key + 1, SearchDirection::Forward)) {
        keys.push_back(key);
        if (key == source.lastFrame())
            break;
    }
    std::printf("file: %s\n", Printable(source.path()).c_str());
    // Most files keep their colour tags in the pictures more than in the headers.
    source.ShowFrame(source.firstFrame(), nullptr);
    const PictureDescription picture = source.describePicture();
    std::printf("size: %dx%d\n", picture.storedWidth, picture.storedHeight);
    std::printf("first frame: %s\n", source.FormatFrameText(source.firstFrame()).c_str());
    std::printf("last frame: %s\n", source.FormatFrameText(source.lastFrame()).c_str());
    std::printf("frames: %d\n", source.lastFrame() - source.firstFrame() + 1);
    std::printf("rate: %u/%u\n", source.rate(), source.scale());
    std::printf("fps: %d\n", source.framesPerSecond());
    std::printf("constant frame rate: %s\n", source.hasConstantRate() ? "yes" : "no");
    std::printf("duration: %s\n", durationText(source.duration()).c_str());
    std::printf("bitrate: %lld\n", static_cast<long long>(bitrate));
    std::printf("decoder: %s\n", source.hasDecoder() ? "yes" : "none");
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
    ExpectArguments(line, 3, "frame VIDEO N OUT [--quality Q] [--matrix auto|bt601|bt709]");
    const int frame = IntegerArgument(line.arguments[1], "the frame number");
    const std::string& out = line.arguments[2];
    if (!ImageFormatOfPath(out))
        throw UsageError("Sorry, the valid extension only can be jpg, png or bmp.");
    CSettings options = settings;
    if (const auto quality = IntegerOption(line, "--quality", 0, 100))
        options.SetOption(OPTION_JPEG_QUALITY, *quality);
    takeMatrixOption(line, options);

    ConsoleOwner owner(ConsoleOwner::Progress::Hidden);
    CFrameSource source;
    // One frame is wanted, once: keeping the ones decoded on the way would only cost memory.
    source.setFrameCacheBudget(0);
    source.setSettings(&options);
    source.setPictureOptions(PictureOptionsOf(options));
    if (!openDecodable(source, line.arguments[0], owner))
        return 1;
    if (frame < source.firstFrame() || frame > source.lastFrame())
        return Fail("frame " + std::to_string(frame) + " is outside the video's frames " +
                    std::to_string(source.firstFrame()) + " to " +
                    std::to_string(source.lastFrame()));
    source.ShowFrame(frame, nullptr);
    try {
        switch (source.SaveCurrentFrame(out)) {
        case SaveFrameResult::Written:
            return 0;
        case SaveFrameResult::NothingDecoded:
            return Fail("frame " + std::to_string(frame) + " can't be decoded");
        default:
            return Fail(source.saveErrorText(out));
        }
    } catch (const CException& error) {
        return Fail(error.ErrorText());
    }
}

int RunRecord(const CommandLine& line, CSettings& settings)
{
    ExpectArguments(line, 2,
                    "record VIDEO FOLDER [--from N] [--to M] [--every K] [--format jpg|png|bmp] "
                    "[--quality Q] [--matrix auto|bt601|bt709]");
    const std::string& folder = line.arguments[1];
    if (const auto every = IntegerOption(line, "--every", 1, 1000000))
        settings.SetOption(OPTION_EVERY_FRAME, *every - 1);
    if (const auto quality = IntegerOption(line, "--quality", 0, 100))
        settings.SetOption(OPTION_JPEG_QUALITY, *quality);
    if (const auto name = line.options.find("--format"); name != line.options.end()) {
        const std::optional<ImageFormat> format = ImageFormatByName(name->second);
        if (!format)
            throw UsageError("--format takes jpg, png or bmp");
        settings.SetOption(OPTION_JPEG, RecordedFormatOption(*format));
    }
    takeMatrixOption(line, settings);

    ConsoleOwner owner(isatty(STDERR_FILENO) ? ConsoleOwner::Progress::Shown
                                             : ConsoleOwner::Progress::Hidden);
    CFrameSource source;
    // Every frame is decoded once, in order: none is asked for again.
    source.setFrameCacheBudget(0);
    source.setSettings(&settings);
    source.setPictureOptions(PictureOptionsOf(settings));
    if (!openDecodable(source, line.arguments[0], owner))
        return 1;
    const int from =
        IntegerOption(line, "--from", INT32_MIN, INT32_MAX).value_or(source.firstFrame());
    const int to = IntegerOption(line, "--to", INT32_MIN, INT32_MAX).value_or(source.lastFrame());
    if (from < source.firstFrame() || from > source.lastFrame())
        return Fail("--from " + std::to_string(from) + " is outside the video's frames " +
                    std::to_string(source.firstFrame()) + " to " +
                    std::to_string(source.lastFrame()));
    if (const std::string error = MakeSureDirectoryPathExists(folder); !error.empty())
        return Fail("Sorry, can't create target folder. Please check it. (" + folder + ": " +
                    error + ")");

    owner.setRange(from, std::min(to, source.lastFrame()));
    CatchInterrupt();
    source.setMessagePump([&source] {
        if (Interrupted())
            source.RequestStop(CloseAfterStop::No);
    });
    const RecordResult result = source.Record(folder, from, to);
    owner.endProgressLine();
    std::fprintf(stderr, "%d image%s written to %s%s\n", result.saved, result.saved == 1 ? "" : "s",
                 Printable(folder).c_str(), Interrupted() ? " (stopped)" : "");
    if (!result.error.empty())
        return Fail(result.error);
    if (result.undecodable > 0)
        return Fail(std::to_string(result.undecodable) +
                    " of the frames could not be decoded and were not saved");
    return Interrupted() ? 1 : 0;
}

int RunSizes(const CommandLine& line)
{
    ExpectArguments(line, 1, "sizes VIDEO");
    ConsoleOwner owner(ConsoleOwner::Progress::Hidden);
    CFrameSource source;
    std::int64_t bitrate = 0;
    if (!openVideo(source, line.arguments[0], owner, WantFrames::No, bitrate))
        return 1;
    int frame = source.firstFrame();
    owner.setSizeReceiver(
        [&frame](std::uint32_t bytes) { std::printf("%d\t%u\n", frame++, bytes); });
    if (!source.ScanSampleSizes())
        return Fail("the scan was stopped");
    return std::fflush(stdout) == 0 ? 0 : Fail("can't write the sizes");
}

namespace {

std::string figure(std::optional<std::uint64_t> value)
{
    return value ? std::to_string(*value) + " kbps" : "-";
}

std::string writeSecondsCsv(const std::vector<std::uint64_t>& values, const std::string& path)
{
    // A table is often sent through a link, /dev/stdout for one: it goes where the link leads.
    CFileReplacement file(path, Publishing::OnCommit, Links::Follow);
    std::FILE* stream = file.open();
    if (stream == nullptr)
        return CantWriteFileText(path, errno);
    std::fputs("second,kbps\n", stream);
    for (size_t second = 0; second < values.size(); ++second)
        std::fprintf(stream, "%zu,%llu\n", second, static_cast<unsigned long long>(values[second]));
    if (const int error = file.commit(); error != 0)
        return CantWriteFileText(path, error);
    return {};
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

// Draws the chart as the Bitrate dialog shows it. Qt draws text only inside a Qt Gui
// application, which here needs no screen.
std::string saveChart(const std::vector<std::uint64_t>& values, unsigned timeRange,
                      const std::string& path)
{
    const QuietQt quiet;
    char name[] = "clipmint-cli";
    char platform[] = "-platform";
    char offscreen[] = "offscreen";
    char* arguments[] = {name, platform, offscreen, nullptr};
    int count = 3;
    const QGuiApplication application(count, arguments);
    ChartLayers chart(kBitrateChartSize, ValueAxis::Doubling);
    chart.setTimeRange(timeRange);
    for (std::uint64_t value : values)
        chart.addValue(double(value));
    return SavePicturePng(chart.picture(), path);
}

} // namespace

int RunBitrate(const CommandLine& line)
{
    ExpectArguments(line, 1, "bitrate VIDEO [--csv FILE] [--png FILE]");
    ConsoleOwner owner(ConsoleOwner::Progress::Hidden);
    CFrameSource source;
    std::int64_t bitrate = 0;
    if (!openVideo(source, line.arguments[0], owner, WantFrames::No, bitrate))
        return 1;
    BitrateSeries series = SeriesOf(source);
    std::vector<std::uint64_t> values;
    const auto add = [&values](const std::vector<std::uint64_t>& completed) {
        values.insert(values.end(), completed.begin(), completed.end());
    };
    owner.setSizeReceiver([&series, &source, &add](std::uint32_t bytes) {
        add(series.addFrame(bytes, source.frameTime(source.currentFrame())));
    });
    if (!source.ScanSampleSizes())
        return Fail("the scan was stopped");
    add(series.finishRun(source.duration()));

    const std::optional<double> variation = series.coefficientOfVariation();
    std::printf("total: %lld kbps\n", static_cast<long long>(bitrate));
    std::printf("average: %s\n", figure(series.average()).c_str());
    std::printf("max: %s\n", figure(series.maximum()).c_str());
    std::printf("min: %s\n", figure(series.minimum()).c_str());
    std::printf("coefficient of variation: %s\n",
                variation ? VariationText(*variation).c_str() : "-");
    std::printf("seconds: %zu\n", values.size());
    if (const auto csv = line.options.find("--csv"); csv != line.options.end()) {
        if (const std::string error = writeSecondsCsv(values, csv->second); !error.empty())
            return Fail(error);
    }
    if (const auto png = line.options.find("--png"); png != line.options.end()) {
        const std::string error = saveChart(values, TimeRangeOf(source), png->second);
        if (!error.empty())
            return Fail(error);
    }
    return std::fflush(stdout) == 0 ? 0 : Fail("can't write the figures");
}
