#include "bitrate/bitrate_series.h"

#include "video/video_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

constexpr std::chrono::hours kLongestGap(24);

int atLeastOne(int framesPerSecond)
{
    return std::max(framesPerSecond, 1);
}

} // namespace

BitrateSeries::BitrateSeries(int framesPerSecond) : m_framesPerSecond(atLeastOne(framesPerSecond))
{}

BitrateSeries BitrateSeries::byTime()
{
    BitrateSeries series;
    series.m_byTime = true;
    return series;
}

void BitrateSeries::startRun()
{
    const bool byTime = m_byTime;
    *this = BitrateSeries(m_framesPerSecond);
    m_byTime = byTime;
}

std::optional<std::uint64_t> BitrateSeries::addFrame(std::uint32_t bytes)
{
    m_secondBytes += bytes;
    if (++m_framesInSecond < m_framesPerSecond)
        return std::nullopt;
    return completeSecond();
}

std::vector<std::uint64_t> BitrateSeries::addFrame(std::uint32_t bytes,
                                                   std::chrono::nanoseconds time)
{
    if (!m_byTime) {
        const std::optional<std::uint64_t> value = addFrame(bytes);
        return value ? std::vector{*value} : std::vector<std::uint64_t>{};
    }
    if (!m_started) {
        m_started = true;
        m_secondStart = time;
    }
    std::vector<std::uint64_t> values = completeSecondsUntil(time);
    m_secondBytes += bytes;
    return values;
}

std::vector<std::uint64_t> BitrateSeries::finishRun(std::chrono::nanoseconds end)
{
    if (!m_byTime || !m_started)
        return {};
    return completeSecondsUntil(end);
}

std::vector<std::uint64_t> BitrateSeries::completeSecondsUntil(std::chrono::nanoseconds time)
{
    std::vector<std::uint64_t> values;
    // A gap between two frames adds its empty seconds, unless it is longer than any real video
    // pauses, as in a damaged or hostile file, which would otherwise add billions of them; a
    // time that goes backwards adds none.
    if (time - m_secondStart > kLongestGap) {
        values.push_back(completeSecond());
        m_secondStart += (time - m_secondStart) / std::chrono::seconds(1) * std::chrono::seconds(1);
        return values;
    }
    while (time - m_secondStart >= std::chrono::seconds(1)) {
        values.push_back(completeSecond());
        m_secondStart += std::chrono::seconds(1);
    }
    return values;
}

std::uint64_t BitrateSeries::completeSecond()
{
    const std::uint64_t value = KilobitsPerSecond(m_secondBytes);
    m_maximum = m_seconds == 0 ? value : std::max(m_maximum, value);
    m_minimum = m_seconds == 0 ? value : std::min(m_minimum, value);
    ++m_seconds;
    m_sum += double(value);
    m_sumOfSquares += double(value) * double(value);
    m_secondBytes = 0;
    m_framesInSecond = 0;
    return value;
}

std::optional<std::uint64_t> BitrateSeries::average() const
{
    if (m_seconds == 0)
        return std::nullopt;
    return static_cast<std::uint64_t>(m_sum / double(m_seconds) + 0.5);
}

std::optional<std::uint64_t> BitrateSeries::maximum() const
{
    return m_seconds == 0 ? std::nullopt : std::optional(m_maximum);
}

std::optional<std::uint64_t> BitrateSeries::minimum() const
{
    return m_seconds == 0 ? std::nullopt : std::optional(m_minimum);
}

std::optional<double> BitrateSeries::coefficientOfVariation() const
{
    if (m_seconds < 2)
        return std::nullopt;
    const double n = double(m_seconds);
    // Rounding can leave the sum of squared deviations of equal values a hair below zero.
    const double squaredDeviations = std::max(m_sumOfSquares - m_sum * m_sum / n, 0.0);
    return std::sqrt(squaredDeviations / (n - 1)) / (m_sum / n + 0.5);
}

std::uint64_t KilobitsPerSecond(std::uint64_t bytes)
{
    return (bytes + 64) / 128;
}

unsigned TimeRangeSeconds(std::int64_t frameCount, int framesPerSecond)
{
    const double seconds = double(frameCount) / atLeastOne(framesPerSecond) + 0.5;
    return static_cast<unsigned>(
        std::clamp(seconds, 1.0, double(std::numeric_limits<unsigned>::max())));
}

unsigned TimeRangeSeconds(std::chrono::nanoseconds duration)
{
    const double seconds = std::chrono::duration<double>(duration).count() + 0.5;
    return static_cast<unsigned>(
        std::clamp(seconds, 1.0, double(std::numeric_limits<unsigned>::max())));
}

BitrateSeries SeriesOf(const VideoFacts& video)
{
    return video.hasTimestamps ? BitrateSeries::byTime() : BitrateSeries(video.framesPerSecond);
}

unsigned TimeRangeOf(const VideoFacts& video)
{
    if (video.hasTimestamps)
        return TimeRangeSeconds(video.duration);
    const std::int64_t frames = std::int64_t(video.lastFrame) - video.firstFrame + 1;
    return TimeRangeSeconds(frames, video.framesPerSecond);
}

std::string VariationText(double variation)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", variation);
    return text;
}
