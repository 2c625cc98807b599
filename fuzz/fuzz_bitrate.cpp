// The per-second bitrate series fed arbitrary frame sizes at an arbitrary frame rate. Input: one
// byte for the frames per second (signed), then four bytes for each frame's stored size. Every
// second's value is its frames' bytes in kilobits, the run's figures agree with those values,
// and the time axis and the variation text take any numbers.
#include "bitrate/bitrate_series.h"
#include "fuzz_check.h"

#include <algorithm>
#include <cmath>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const int framesPerSecond = static_cast<std::int8_t>(data[0]);
    BitrateSeries series(framesPerSecond);
    const int perSecond = std::max(framesPerSecond, 1);
    FUZZ_CHECK(series.framesPerSecond() == perSecond);

    std::uint64_t secondBytes = 0;
    int framesInSecond = 0;
    std::uint64_t seconds = 0;
    std::uint64_t lowest = UINT64_MAX;
    std::uint64_t highest = 0;
    std::size_t frames = 0;
    for (std::size_t offset = 1; offset + 4 <= size; offset += 4, ++frames) {
        std::uint32_t bytes = 0;
        std::memcpy(&bytes, data + offset, 4);
        secondBytes += bytes;
        const auto value = series.addFrame(bytes);
        FUZZ_CHECK(value.has_value() == (++framesInSecond == perSecond));
        if (!value)
            continue;
        FUZZ_CHECK(*value == (secondBytes * 8 + 512) / 1024);
        lowest = std::min(lowest, *value);
        highest = std::max(highest, *value);
        ++seconds;
        secondBytes = 0;
        framesInSecond = 0;
    }
    FUZZ_CHECK(series.seconds() == seconds);
    if (seconds > 0) {
        FUZZ_CHECK(series.minimum() == lowest && series.maximum() == highest);
        FUZZ_CHECK(*series.average() >= lowest && *series.average() <= highest);
    }
    if (const auto variation = series.coefficientOfVariation()) {
        FUZZ_CHECK(std::isfinite(*variation) && *variation >= 0);
        FUZZ_CHECK(!VariationText(*variation).empty());
    }
    FUZZ_CHECK(series.coefficientOfVariation().has_value() == (seconds >= 2));

    std::int64_t frameCount = static_cast<std::int64_t>(frames);
    if (size >= 9)
        std::memcpy(&frameCount, data + 1, 8);
    FUZZ_CHECK(TimeRangeSeconds(frameCount, framesPerSecond) >= 1);

    series.startRun();
    FUZZ_CHECK(series.seconds() == 0 && !series.average() && series.framesPerSecond() == perSecond);
    return 0;
}
