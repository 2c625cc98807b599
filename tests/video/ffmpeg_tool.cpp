#include "ffmpeg_tool.h"

#include "image/dib.h"

#include <cstdlib>
#include <map>

bool runFfmpeg(const std::string& arguments)
{
    const std::string command =
        "ffmpeg -nostdin -v error -y " + arguments + " </dev/null >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

bool ffmpegHasEncoder(const std::string& encoder)
{
    static std::map<std::string, bool> known;
    if (!known.contains(encoder)) {
        // Encoding one frame is the only sure test: a listed encoder may still fail to open.
        TempDir dir;
        known[encoder] = runFfmpeg("-f lavfi -i testsrc=size=64x48 -frames:v 1 -c:v " + encoder +
                                   " " + dir.file("probe.avi"));
    }
    return known[encoder];
}

std::string makeTestVideo(const std::string& path, const std::string& size, const std::string& rate,
                          int frames, const std::string& codecOptions)
{
    const bool made =
        runFfmpeg("-f lavfi -i testsrc=size=" + size + ":rate=" + rate + " -frames:v " +
                  std::to_string(frames) + " " + codecOptions + " " + path);
    return made ? path : std::string();
}

std::string makeVariableRateVideo(const std::string& path)
{
    const bool made =
        runFfmpeg("-f lavfi -i testsrc=size=64x48:rate=25 -frames:v 125 -vf "
                  "\"setpts='if(lt(N,50),N*0.04,2+(N-50)*0.08)/TB'\" -fps_mode vfr -c:v rawvideo "
                  "-pix_fmt yuv420p " +
                  path);
    return made ? path : std::string();
}

std::vector<ToolFrame> toolFrames(const TempDir& dir, const std::string& path, int width,
                                  int height)
{
    const std::string raw = dir.file("tool-frames.raw");
    if (!runFfmpeg("-i " + path + " -fps_mode passthrough -f rawvideo -pix_fmt bgr24 " + raw))
        return {};
    const std::vector<std::uint8_t> bytes = ReadBytes(raw);
    const std::size_t frameBytes = static_cast<std::size_t>(width) * height * 3;
    std::vector<ToolFrame> frames;
    for (std::size_t offset = 0; offset + frameBytes <= bytes.size(); offset += frameBytes)
        frames.emplace_back(bytes.begin() + offset, bytes.begin() + offset + frameBytes);
    return frames;
}

int largestDifference(const std::uint8_t* packedDib, const ToolFrame& frame, int width, int height)
{
    if (packedDib == nullptr || DibPixelWidth(packedDib) != width ||
        DibPixelHeight(packedDib) != height || frame.size() != std::size_t(width) * height * 3)
        return -1;
    const std::int64_t stride = DibStride(width, 24);
    int largest = 0;
    for (int row = 0; row < height; ++row) {
        const std::uint8_t* ours = DibPixelData(packedDib) + (height - 1 - row) * stride;
        const std::uint8_t* theirs = frame.data() + std::size_t(row) * width * 3;
        for (int i = 0; i < width * 3; ++i)
            largest = std::max(largest, std::abs(ours[i] - theirs[i]));
    }
    return largest;
}
