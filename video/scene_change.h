#pragma once

#include "video/av_handles.h"

#include <chrono>
#include <cstdint>
#include <vector>

// Finds the first frame of each shot. Every picture is shrunk to kWidth x kHeight in luma alone,
// and compared with the one before it: the mean absolute difference of their luma values (0 to
// 255) above the threshold is a cut, unless the last frame chosen is less than half a second
// before it. The first picture seen begins a shot.
class SceneChangeFinder
{
public:
    static constexpr int kWidth = 64;
    static constexpr int kHeight = 36;
    static constexpr std::chrono::milliseconds kShortestShot{500};

    explicit SceneChangeFinder(int threshold) : m_threshold(threshold) {}

    // Whether the picture, shown at time, begins a shot. A picture that can't be shrunk begins
    // none and leaves the comparison as it was.
    bool beginsShot(const AVFrame& picture, std::chrono::nanoseconds time);

    // The mean absolute difference between two luma copies of the same size.
    static double difference(const std::vector<std::uint8_t>& a,
                             const std::vector<std::uint8_t>& b);

private:
    bool shrink(const AVFrame& picture);

    int m_threshold;
    SwsContextPtr m_scaler;
    int m_scalerWidth = 0;
    int m_scalerHeight = 0;
    int m_scalerFormat = -1;
    std::vector<std::uint8_t> m_luma;
    std::vector<std::uint8_t> m_previous;
    bool m_chosenAny = false;
    std::chrono::nanoseconds m_lastChosen{0};
};
