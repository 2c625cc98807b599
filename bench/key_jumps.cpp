// Times Page Down in the engine without a window: opens a video as the player does and goes
// from key frame to key frame to the end, each jump drawn as the video window would. Prints the
// median and the longest jump in milliseconds.
//   key_jumps VIDEO

#include "bench_player.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: key_jumps VIDEO\n");
        return 2;
    }
    CFrameSource source;
    ScreenDisplay screen;
    SilentOwner owner;
    if (!OpenAsThePlayerDoes(source, screen, owner, argv[1], "key_jumps"))
        return 1;
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
