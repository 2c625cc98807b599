// Times Page Down in the engine without a window: opens a video as the player does and goes
// from key frame to key frame to the end, each jump drawn as the video window would. Prints the
// median and the longest jump in milliseconds.
//   key_jumps VIDEO

#include "source/frame_display.h"
#include "source/frame_source.h"
#include "source/frame_source_owner.h"
#include "video/screen_picture.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

class Screen : public FrameDisplay
{
public:
    void drawPackedDib(const std::uint8_t*, int, int) override {}
    std::optional<PixelSize> screenPictureSize(PixelSize frameSize) const override
    {
        return frameSize;
    }
    void drawScreenPicture(std::shared_ptr<const ScreenPicture>) override {}
};

class Silent : public FrameSourceOwner
{
public:
    void setFrameText(FrameTextControl, const std::string&) override {}
    void setSliderPosition(int) override {}
    void receiveSampleSize(std::uint32_t) override {}
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: key_jumps VIDEO\n");
        return 2;
    }
    CFrameSource source;
    Screen screen;
    Silent owner;
    std::int64_t bitrate = 0;
    if (!source.Open(argv[1], &screen, &owner, bitrate, WantFrames::Yes) || !source.hasDecoder()) {
        std::fprintf(stderr, "key_jumps: can't open %s\n", argv[1]);
        return 1;
    }
    source.Seek(source.firstFrame());
    std::vector<double> jumps;
    for (int key = source.FindKeyFrame(source.currentFrame() + 1, SearchDirection::Forward);
         key > source.currentFrame();
         key = source.FindKeyFrame(source.currentFrame() + 1, SearchDirection::Forward)) {
        const auto start = std::chrono::steady_clock::now();
        source.Seek(key);
        jumps.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    if (jumps.empty()) {
        std::fprintf(stderr, "key_jumps: the video has one key frame\n");
        return 1;
    }
    std::sort(jumps.begin(), jumps.end());
    std::printf("median %.2f ms longest %.2f ms over %zu jumps\n", jumps[jumps.size() / 2],
                jumps.back(), jumps.size());
    return 0;
}
