// Times playback in the engine without a window: opens a video as the player does and plays it
// from the first frame to the last as fast as the frames decode, each one made into a screen
// picture at full size, as the video window takes it. Prints the seconds and the frames shown.
//   play_frames VIDEO

#include "source/frame_display.h"
#include "source/frame_source.h"
#include "source/frame_source_owner.h"
#include "video/screen_picture.h"

#include <chrono>
#include <cstdio>

namespace {

class Screen : public FrameDisplay
{
public:
    void drawPackedDib(const std::uint8_t*, int, int) override { ++m_shown; }
    std::optional<PixelSize> screenPictureSize(PixelSize frameSize) const override
    {
        return frameSize;
    }
    void drawScreenPicture(std::shared_ptr<const ScreenPicture> picture) override
    {
        m_shown += picture != nullptr;
    }
    int shown() const { return m_shown; }

private:
    int m_shown = 0;
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
        std::fprintf(stderr, "usage: play_frames VIDEO\n");
        return 2;
    }
    CFrameSource source;
    Screen screen;
    Silent owner;
    std::int64_t bitrate = 0;
    if (!source.Open(argv[1], &screen, &owner, bitrate, WantFrames::Yes) || !source.hasDecoder()) {
        std::fprintf(stderr, "play_frames: can't open %s\n", argv[1]);
        return 1;
    }
    const auto start = std::chrono::steady_clock::now();
    source.Play();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.3f s %d frames\n", seconds, screen.shown());
    return 0;
}
