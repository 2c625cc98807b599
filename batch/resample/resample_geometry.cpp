#include "batch/resample/resample_geometry.h"

#include <algorithm>
#include <cmath>

namespace {

// Positions differing from an integer by float-sized noise still count as that integer.
constexpr double kSnap = 0.00001;

// Source position of every destination pixel. The step is accumulated rather than multiplied,
// so that consecutive positions advance by exactly the same amount.
std::vector<double> sourcePositions(int sourceLength, std::int64_t span, int length)
{
    const double last = sourceLength - 1;
    const double step = span > 1 ? last / double(span - 1) : 0.0;
    std::vector<double> positions(static_cast<std::size_t>(length));
    double x = 0.0;
    for (double& position : positions) {
        position = std::min(x, last);
        x += step;
    }
    return positions;
}

int snappedFloor(double x)
{
    return static_cast<int>(std::floor(x + kSnap));
}

} // namespace

CubicTaps MakeCubicTaps(int sourceLength, std::int64_t span, int length)
{
    CubicTaps taps;
    const auto size = static_cast<std::size_t>(length);
    taps.first.reserve(size);
    taps.c1.reserve(size);
    taps.c2.reserve(size);
    taps.c3.reserve(size);
    for (const double x : sourcePositions(sourceLength, span, length)) {
        // The taps j - 1 .. j + 2 stay inside the source; near its ends the polynomial is
        // evaluated off-centre instead of extending the border.
        int j = snappedFloor(x);
        double d = 2.0;
        if (j >= sourceLength - 1) {
            j = sourceLength - 3;
        } else {
            if (j == 0)
                j = 1;
            else if (j == sourceLength - 2)
                j = sourceLength - 3;
            d = x - j;
        }
        // Newton's form through the four samples at s = 0 .. 3, rewritten as weights of the
        // differences to the first sample.
        const double s = d + 1.0;
        const double n2 = s * (s - 1.0) / 2.0;
        const double n3 = n2 * (s - 2.0) / 3.0;
        taps.first.push_back(j - 1);
        taps.c1.push_back(static_cast<float>(s - 2.0 * n2 + 3.0 * n3));
        taps.c2.push_back(static_cast<float>(n2 - 3.0 * n3));
        taps.c3.push_back(static_cast<float>(n3));
    }
    return taps;
}

LinearTaps MakeLinearTaps(int sourceLength, std::int64_t span, int length)
{
    LinearTaps taps;
    taps.first.reserve(static_cast<std::size_t>(length));
    taps.weight.reserve(static_cast<std::size_t>(length));
    for (const double x : sourcePositions(sourceLength, span, length)) {
        const int j = snappedFloor(x);
        if (j >= sourceLength - 1) {
            taps.first.push_back(sourceLength - 2);
            taps.weight.push_back(kLinearOne);
        } else {
            // A position a hair below j would give a weight of -1; it is j itself.
            taps.first.push_back(j);
            taps.weight.push_back(std::max(0, snappedFloor((x - j) * kLinearOne)));
        }
    }
    return taps;
}

std::vector<int> MakeNearestTaps(int sourceLength, std::int64_t span, int length)
{
    std::vector<int> taps;
    taps.reserve(static_cast<std::size_t>(length));
    for (const double x : sourcePositions(sourceLength, span, length))
        taps.push_back(std::min(static_cast<int>(std::floor(x + 0.5)), sourceLength - 1));
    return taps;
}
