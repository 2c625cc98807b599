// Times playback in the engine without a window: opens a video as the player does and plays it
// from the first frame to the last as fast as the frames decode, each one made into a screen
// picture at full size, as the video window takes it. Prints the seconds and the frames shown.
//   play_frames VIDEO

#include "bench_player.h"

#include <chrono>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: play_frames VIDEO\n");
        return 2;
    }
    CFrameSource source;
    ScreenDisplay screen;
    SilentOwner owner;
    if (!OpenAsThePlayerDoes(source, screen, owner, argv[1], "play_frames"))
        return 1;
    const auto start = std::chrono::steady_clock::now();
    source.Play();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%.3f s %d frames\n", seconds, screen.shown());
    return 0;
}
