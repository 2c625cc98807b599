// Times Page Down in the engine without a window: opens a video as the player does and goes
// from key frame to key frame to the end, each jump drawn as the video window would. Prints the
// median and the longest jump in milliseconds. With --back, times instead the first Prev Frame
// after each jump, from the second key frame on; with --idle as well, after the player's idle
// work for that step has run, and how long that work took and its longest step. With --preview,
// times instead what a dragged slider shows: every key frame shown without being made the current
// one, to the end and back, and how many such pictures a second that makes.
//   key_jumps VIDEO [--back [--idle] | --preview]

#include "bench_player.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

template <class Step> double milliseconds(const Step& step)
{
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

int main(int argc, char** argv)
{
    const bool back = argc >= 3 && std::strcmp(argv[2], "--back") == 0;
    const bool idle = back && argc == 4 && std::strcmp(argv[3], "--idle") == 0;
    const bool preview = argc == 3 && std::strcmp(argv[2], "--preview") == 0;
    if (argc < 2 || argc > 4 || (argc >= 3 && !back && !preview) || (argc == 4 && !idle)) {
        std::fprintf(stderr, "usage: key_jumps VIDEO [--back [--idle] | --preview]\n");
        return 2;
    }
    CFrameSource source;
    ScreenDisplay screen;
    SilentOwner owner;
    if (!OpenAsThePlayerDoes(source, screen, owner, argv[1], "key_jumps"))
        return 1;
    source.Seek(source.firstFrame());
    std::vector<double> times;
    if (preview) {
        std::vector<int> keys;
        for (int key = source.firstFrame(); key >= 0;
             key = source.FindKeyFrame(key + 1, SearchDirection::Forward))
            keys.push_back(key);
        keys.insert(keys.end(), keys.rbegin() + 1, keys.rend());
        double total = 0;
        for (const int key : keys)
            total += times.emplace_back(milliseconds([&] { source.ShowPreview(key); }));
        std::sort(times.begin(), times.end());
        std::printf("median %.2f ms longest %.2f ms over %zu pictures, %.1f pictures a second\n",
                    times[times.size() / 2], times.back(), times.size(),
                    1000.0 * static_cast<double>(times.size()) / total);
        return 0;
    }
    std::vector<double> idleSteps;
    for (int key = source.FindKeyFrame(source.currentFrame() + 1, SearchDirection::Forward);
         key > source.currentFrame();
         key = source.FindKeyFrame(source.currentFrame() + 1, SearchDirection::Forward)) {
        if (!back) {
            times.push_back(milliseconds([&] { source.Seek(key); }));
            continue;
        }
        source.Seek(key);
        for (bool more = idle; more;)
            idleSteps.push_back(milliseconds([&] { more = source.DecodeInIdle(); }));
        times.push_back(milliseconds([&] { source.Seek(key - 1); }));
        source.Seek(key);
    }
    if (times.empty()) {
        std::fprintf(stderr, "key_jumps: the video has one key frame\n");
        return 1;
    }
    std::sort(times.begin(), times.end());
    std::printf("median %.2f ms longest %.2f ms over %zu %s", times[times.size() / 2], times.back(),
                times.size(), back ? "steps back" : "jumps");
    if (!idleSteps.empty()) {
        double total = 0;
        for (const double step : idleSteps)
            total += step;
        std::printf(", idle work %.0f ms a jump in steps of at most %.2f ms",
                    total / static_cast<double>(times.size()),
                    *std::max_element(idleSteps.begin(), idleSteps.end()));
    }
    std::printf("\n");
    return 0;
}
