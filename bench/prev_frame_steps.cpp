// Times Prev Frame in the engine without a window: opens a video as the player does, goes to a
// frame (the last by default), then steps back one frame at a time, each step a seek that draws
// the frame as the video window would. Prints the median and the longest step in milliseconds.
//   prev_frame_steps VIDEO STEPS [--from N] [--no-cache]
// --no-cache decodes every step afresh from the key frame, as editors without a frame cache do.

#include "bench_player.h"
#include "image/dib.h"
#include "source/frame_display.h"
#include "source/frame_source.h"
#include "source/frame_source_owner.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Reads every row of a frame, as drawing it would.
class ReadingDisplay : public FrameDisplay
{
public:
    void drawPackedDib(const std::uint8_t* packedDib, int width, int height) override
    {
        const std::int64_t stride = DibStride(width, 24);
        for (int row = 0; row < height; ++row)
            m_sum += DibPixelData(packedDib)[row * stride];
    }
    unsigned sum() const { return m_sum; }

private:
    unsigned m_sum = 0;
};

double milliseconds(std::chrono::steady_clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: prev_frame_steps VIDEO STEPS [--from N] [--no-cache]\n");
        return 2;
    }
    const int steps = std::atoi(argv[2]);
    int from = -1;
    bool cache = true;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-cache") == 0)
            cache = false;
        else if (std::strcmp(argv[i], "--from") == 0 && i + 1 < argc)
            from = std::atoi(argv[++i]);
    }

    ReadingDisplay display;
    SilentOwner owner;
    CFrameSource source;
    if (!cache)
        source.setFrameCacheBudget(0);
    std::int64_t bitrate = 0;
    if (!source.Open(argv[1], &display, &owner, bitrate, WantFrames::Yes) || !source.hasDecoder()) {
        std::fprintf(stderr, "prev_frame_steps: can't open %s\n", argv[1]);
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    source.Seek(from >= 0 ? from : source.lastFrame());
    const double first = milliseconds(std::chrono::steady_clock::now() - start);

    std::vector<double> times;
    for (int step = 0; step < steps && source.currentFrame() > source.firstFrame(); ++step) {
        const auto before = std::chrono::steady_clock::now();
        source.Seek(source.currentFrame() - 1);
        times.push_back(milliseconds(std::chrono::steady_clock::now() - before));
    }
    if (times.empty())
        return 1;
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    std::printf("steps %zu median %.2f ms longest %.2f ms first seek %.1f ms (check %u)\n",
                times.size(), sorted[sorted.size() / 2], sorted.back(), first, display.sum());
    return 0;
}
