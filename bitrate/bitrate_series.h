#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The bitrate of a video stream second by second, fed the stored size of one frame at a time in
// frame order. Every framesPerSecond frames make one second, whose value is its bytes in
// kilobits per second (8 bits a byte, 1024 bits a kilobit, rounded to the nearest). A last
// second with fewer frames is never counted. The statistics cover the seconds of one run.
class BitrateSeries
{
public:
    // A frame rate below one frame a second makes every frame a second of its own.
    explicit BitrateSeries(int framesPerSecond = 1);

    // Starts a run: the statistics and the second in progress are reset.
    void startRun();
    // The value of the second that this frame completes, if it completes one.
    std::optional<std::uint64_t> addFrame(std::uint32_t bytes);

    int framesPerSecond() const { return m_framesPerSecond; }
    // Whole seconds measured in this run.
    std::uint64_t seconds() const { return m_seconds; }
    // The figures of the run; nothing before its first whole second.
    std::optional<std::uint64_t> average() const;
    std::optional<std::uint64_t> maximum() const;
    std::optional<std::uint64_t> minimum() const;
    // The sample standard deviation over the mean plus half a kilobit; nothing before the run
    // has two whole seconds.
    std::optional<double> coefficientOfVariation() const;

private:
    int m_framesPerSecond = 1;
    int m_framesInSecond = 0;
    std::uint64_t m_secondBytes = 0;
    std::uint64_t m_seconds = 0;
    std::uint64_t m_maximum = 0;
    std::uint64_t m_minimum = 0;
    double m_sum = 0.0;
    double m_sumOfSquares = 0.0;
};

// Kilobits per second of a second that stored bytes, rounded to the nearest.
std::uint64_t KilobitsPerSecond(std::uint64_t bytes);
// The length of the time axis for a video of frameCount frames: its whole seconds, rounded to
// the nearest and at least one.
unsigned TimeRangeSeconds(std::int64_t frameCount, int framesPerSecond);
// The coefficient of variation as it is shown: three decimals.
std::string VariationText(double variation);
