#include "bitrate/bitrate_series.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace {

int atLeastOne(int framesPerSecond)
{
    return std::max(framesPerSecond, 1);
}

} // namespace

BitrateSeries::BitrateSeries(int framesPerSecond) : m_framesPerSecond(atLeastOne(framesPerSecond))
{}

void BitrateSeries::startRun()
{
    *this = BitrateSeries(m_framesPerSecond);
}

std::optional<std::uint64_t> BitrateSeries::addFrame(std::uint32_t bytes)
{
    m_secondBytes += bytes;
    if (++m_framesInSecond < m_framesPerSecond)
        return std::nullopt;
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

std::string VariationText(double variation)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", variation);
    return text;
}
