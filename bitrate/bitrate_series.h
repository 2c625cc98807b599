#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The bitrate of a video stream second by second, fed the stored size of one frame at a time in
// frame order. Every framesPerSecond frames make one second, whose value is its bytes in
// kilobits per second (8 bits a byte, 1024 bits a kilobit, rounded to the nearest). A last
// second with fewer frames is never counted. The statistics cover the seconds of one run.
//
// Counted by time instead, for a video whose frames carry their own times, a second holds the
// frames whose times fall in it, counted from the run's first frame, so that frames of a
// variable rate weigh as long as they are shown; a second without a frame has no bytes. The last
// second counts once the video's end is reached and it is whole.
class BitrateSeries
{
public:
    // A frame rate below one frame a second makes every frame a second of its own.
    explicit BitrateSeries(int framesPerSecond = 1);
    static BitrateSeries byTime();

    // Starts a run: the statistics and the second in progress are reset.
    void startRun();
    // The value of the second that this frame completes, if it completes one (by frame count).
    std::optional<std::uint64_t> addFrame(std::uint32_t bytes);
    // The values of the seconds completed before a frame of this time (by time), or that this
    // frame completes (by frame count).
    std::vector<std::uint64_t> addFrame(std::uint32_t bytes, std::chrono::nanoseconds time);
    // The values of the seconds that the video's end completes (by time; none by frame count).
    std::vector<std::uint64_t> finishRun(std::chrono::nanoseconds end);
    bool countsByTime() const { return m_byTime; }

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
    std::uint64_t completeSecond();
    // By time: completes the seconds that end at or before time.
    std::vector<std::uint64_t> completeSecondsUntil(std::chrono::nanoseconds time);

    bool m_byTime = false;
    bool m_started = false; // by time: the run's first frame has come
    std::chrono::nanoseconds m_secondStart{0};
    int m_framesPerSecond = 1;
    int m_framesInSecond = 0;
    std::uint64_t m_secondBytes = 0;
    std::uint64_t m_seconds = 0;
    std::uint64_t m_maximum = 0;
    std::uint64_t m_minimum = 0;
    double m_sum = 0.0;
    double m_sumOfSquares = 0.0;
};

struct VideoFacts;

// The series for an open video: by time for one whose frames carry their own times, by frame
// count at its rounded rate for an AVI file.
BitrateSeries SeriesOf(const VideoFacts& video);
// The length of the time axis for an open video.
unsigned TimeRangeOf(const VideoFacts& video);

// Kilobits per second of a second that stored bytes, rounded to the nearest.
std::uint64_t KilobitsPerSecond(std::uint64_t bytes);
// The length of the time axis for a video of frameCount frames: its whole seconds, rounded to
// the nearest and at least one.
unsigned TimeRangeSeconds(std::int64_t frameCount, int framesPerSecond);
// The same for a video of this duration.
unsigned TimeRangeSeconds(std::chrono::nanoseconds duration);
// The coefficient of variation as it is shown: three decimals.
std::string VariationText(double variation);
