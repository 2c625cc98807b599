// Times opening a video as the player does: when its first picture is drawn, when its frames
// are listed and the open is done, and the longest stretch in which the owner's events waited.
//   first_picture VIDEO

#include "bench_player.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Notes the first picture drawn.
class TimedDisplay : public ScreenDisplay
{
public:
    explicit TimedDisplay(Clock::time_point start) : m_start(start) {}
    void drawScreenPicture(std::shared_ptr<const ScreenPicture> picture) override
    {
        if (picture && m_firstPicture < 0)
            m_firstPicture = secondsSince(m_start);
        ScreenDisplay::drawScreenPicture(std::move(picture));
    }
    double firstPicture() const { return m_firstPicture; }

private:
    Clock::time_point m_start;
    double m_firstPicture = -1;
};

// Notes the longest time between two turns of the owner's events.
class TimedOwner : public SilentOwner
{
public:
    explicit TimedOwner(Clock::time_point start) : m_last(start) {}
    bool showReadProgress(int) override
    {
        note();
        return true;
    }
    void note()
    {
        const Clock::time_point now = Clock::now();
        m_longest = std::max(m_longest, std::chrono::duration<double, std::milli>(now - m_last));
        m_last = now;
    }
    double longestWaitMs() const { return m_longest.count(); }

private:
    Clock::time_point m_last;
    std::chrono::duration<double, std::milli> m_longest{0};
};

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: first_picture VIDEO\n");
        return 2;
    }
    const Clock::time_point start = Clock::now();
    CFrameSource source;
    TimedDisplay display(start);
    TimedOwner owner(start);
    std::int64_t bitrate = 0;
    if (!source.Open(argv[1], &display, &owner, bitrate, WantFrames::Yes)) {
        std::fprintf(stderr, "first_picture: can't open %s\n", argv[1]);
        return 1;
    }
    const double opened = secondsSince(start);
    owner.note();
    std::printf("first picture %.3f s, frames listed %.3f s, %d frames, events waited at most "
                "%.0f ms\n",
                display.firstPicture() >= 0 ? display.firstPicture() : opened, opened,
                source.lastFrame() - source.firstFrame() + 1, owner.longestWaitMs());
    return 0;
}
