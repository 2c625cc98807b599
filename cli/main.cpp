// clipmint-cli: the engine without windows, for scripts and batch use.

#include "cli/cli_support.h"
#include "cli/command_line.h"
#include "cli/commands.h"
#include "clipmint_build.h"
#include "platform/memory_tuning.h"
#include "settings/settings.h"
#include "video/video_library.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const char kUsage[] = R"(Usage: clipmint-cli COMMAND [ARGUMENTS] [OPTIONS]
       clipmint-cli --help | --version

Takes still images out of video files.

Commands:
  info VIDEO [--keys]
      Frame size, first and last frame, frame rate, bitrate and key frames; the
      codec, pixel format, colour tags (and what was assumed where the file says
      nothing), rotation and aspect. --keys lists the key frames, one a line.
  frame VIDEO N OUT [--quality Q] [--provenance] [--matrix auto|bt601|bt709]
      Saves frame N as OUT; the type follows OUT's extension (.jpg, .jpeg, .bmp,
      .dib or .png). --quality sets the JPEG quality (0 to 100).
  record VIDEO FOLDER [--from N] [--to M] [--every K | --every-seconds S |
                      --keys | --scenes [--scene-threshold T]]
                      [--format jpg|png|bmp] [--quality Q] [--provenance]
                      [--names PATTERN] [--manifest] [--matrix auto|bt601|bt709]
      Saves every K-th frame from N to M into FOLDER as 000123.jpg and so on,
      creating the folder. Defaults come from the settings file: the whole
      video, every frame, BMP, quality 75. Ctrl-C stops and keeps what was
      written. Instead of every K-th frame: --every-seconds saves the first
      frame at or after every S seconds (2.5, say) from N, by the frames'
      own times; --keys saves the key frames alone, decoding nothing else;
      --scenes saves the first frame of each shot, N counting as one: a cut is
      a mean absolute difference of luma (0 to 255) above T (1 to 255,
      default 24) between 64x36 copies of two frames in a row, at most one
      every half second. The files keep the frames' own numbers.
      --names names the files by PATTERN: {frame} is the frame number in six
      digits ({frame:N} in at least N), {count} the file's place in the
      recording likewise, {name} the video's file name without extension,
      {time} the frame's time as 00-01-23.456; it must hold {frame} or
      {count}, and no "/". "{name}-{frame}" names frame 7 of clip.mp4
      clip-000007.jpg. --manifest lists the files written in FOLDER/frames.csv:
      file,frame,time,key,type,bytes (time in seconds, key 1 or 0, the
      picture type I, P, B or S, the frame's stored size). The settings'
      FileNames and Manifest=1 do the same.
  --provenance, on frame and record, writes into JPEG and PNG files the
      video's file name (without its folders), the frame's number and its
      time: PNG text chunks Source, Frame and Time, a JPEG comment with
      the same three lines. BMP files have no room for them. The settings'
      Provenance=1 does the same.
  sheet VIDEO OUT [--cols C] [--rows R] [--width W] [--keys] [--quality Q]
                  [--matrix auto|bt601|bt709]
      Draws a contact sheet as OUT (its extension chooses JPEG, BMP or PNG): C x R
      frames spread evenly over the video (with --keys over its key frames),
      each with its number and time, under the file's name, size, duration,
      frame size, codec and bitrate. Defaults: 4 columns (1 to 16), 6 rows (1 to
      64), 1920 pixels wide (320 to 7680); a shorter video has fewer cells.
  --matrix reads the pictures' colours with that matrix instead of the one the
      file names (auto: the file's, or for an untagged file BT.709 from 1280
      wide or over 576 high and BT.601 below), for files tagged wrongly.
  sizes VIDEO
      The stored size of every frame in bytes, one "frame<TAB>bytes" a line,
      read from the file's index.
  bitrate VIDEO [--csv FILE] [--png FILE] [--frames FILE]
      The video stream's bitrate second by second, from the stored frame sizes:
      the file's overall bitrate (total) and the average, largest and smallest
      second in kilobits per second, and the coefficient of variation. --csv
      writes "second,kbps" for every whole second, numbered from 0; --png
      draws the chart of the Bitrate dialog. --frames reads the file through
      once more for the pictures' types (without decoding; Ctrl-C stops) and
      writes "frame,time,bytes,type,key" for every frame in the order shown:
      time in seconds, type I, P, B, S or ? (not known), key 1 or 0; it also
      prints the shortest, average and longest key frame interval.
  scale SRC_FOLDER TARGET_FOLDER --from jpg|bmp|png --to jpg|bmp|png
        --size x1.5|x2|x3|640x480|800x600|1024x768 [--quality Q] [--trash-sources]
      Resizes every --from image of SRC_FOLDER (not its sub-folders) and
      writes it as TARGET_FOLDER/NAME.--to, replacing a file of that name. A
      factor scales; a fixed size scales to cover and cuts the overhang equally
      on both sides. --quality is the JPEG quality (1 to 100, default 95).
      --trash-sources moves each source to the desktop's trash once its result
      is written. Files that can't be read are named and passed over; a result
      that can't be written ends the run. Ctrl-C stops after the image in hand.
  average SRC_FOLDER TARGET_FILE --from jpg|bmp|png [--no-800x600]
          [--no-1024x768] [--auto-number] [--quality Q] [--trash-sources]
      Writes the mean of the --from images of SRC_FOLDER to TARGET_FILE (its
      extension chooses JPEG, BMP or PNG) and, unless told not to, copies cut
      to 800x600 and 1024x768 as NAME_800x600.EXT and NAME_1024x768.EXT.
      --auto-number writes to the first free NAME000000.EXT, NAME000001.EXT...
      --trash-sources moves the sources to the trash once all are written.
      Ctrl-C stops and writes nothing.

A name that starts with "-" goes after "--", which ends the options:
  clipmint-cli record -- -clip.avi -frames

Exit status: 0 done, 1 failed, 2 wrong command line.
)";

// The settings file of the program, which is built and installed beside this tool, so that both
// share their options.
std::filesystem::path settingsPath()
{
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    const std::filesystem::path folder =
        error ? std::filesystem::current_path() : self.parent_path();
    return CSettings::BuildIniPath(folder / "clipmint", kClipmintProgramFolder);
}

int run(const std::vector<std::string>& words)
{
    const CommandLine line =
        ParseCommandLine(words,
                         {"--quality", "--from", "--to", "--every", "--format", "--csv", "--png",
                          "--frames", "--size", "--matrix", "--cols", "--rows", "--width",
                          "--every-seconds", "--scene-threshold", "--names"},
                         {"--keys", "--scenes", "--trash-sources", "--no-800x600", "--no-1024x768",
                          "--auto-number", "--provenance", "--manifest"});
    if (line.version && !line.help) {
        std::printf("clipmint-cli %s\n%s", kClipmintVersion, kClipmintLicenceNotice);
        return 0;
    }
    if (line.help || line.command.empty()) {
        std::fputs(kUsage, line.help ? stdout : stderr);
        return line.help ? 0 : 2;
    }
    CSettings settings(settingsPath());
    settings.LoadOptions();
    if (const std::string& refusal = settings.iniFile().readRefusal(); !refusal.empty())
        std::fprintf(stderr, "clipmint-cli: %s; the defaults apply\n", Printable(refusal).c_str());
    if (line.command == "info")
        return RunInfo(line, settings);
    if (line.command == "frame")
        return RunFrame(line, settings);
    if (line.command == "record")
        return RunRecord(line, settings);
    if (line.command == "sheet")
        return RunSheet(line, settings);
    if (line.command == "sizes")
        return RunSizes(line);
    if (line.command == "bitrate")
        return RunBitrate(line);
    if (line.command == "scale")
        return RunScale(line);
    if (line.command == "average")
        return RunAverage(line);
    throw UsageError("unknown command \"" + line.command + "\"");
}

} // namespace

int main(int argc, char** argv)
{
    // Damaged files are reported in one line of ours, not in the decoder's own words.
    SetVideoLibraryMessages(VideoLibraryMessages::Hidden);
    KeepFreedImageMemory();
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "clipmint-cli: %s (see clipmint-cli --help)\n",
                     Printable(error.message()).c_str());
        return 2;
    }
}
