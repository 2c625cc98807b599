#include "batch/resample/resample_geometry.h"
#include "batch/resample/resample_kernels.h"

#include <array>
#include <vector>

namespace {

// Interpolates one source row across to the target width, keeping 6 fraction bits.
void interpolateRow(const std::uint8_t* __restrict source, const LinearTaps& columns,
                    int* __restrict out)
{
    const std::size_t width = columns.first.size();
    for (std::size_t i = 0; i < width; ++i) {
        const std::uint8_t* p = source + kChannels * columns.first[i];
        const int w = columns.weight[i];
        for (int c = 0; c < kChannels; ++c)
            out[kChannels * i + c] = (p[c] * (kLinearOne - w) + p[kChannels + c] * w) >> 8;
    }
}

void blendRows(const int* __restrict r0, const int* __restrict r1, int v,
               std::uint8_t* __restrict out, std::size_t count)
{
    for (std::size_t k = 0; k < count; ++k)
        out[k] = static_cast<std::uint8_t>((r0[k] * (kLinearOne - v) + r1[k] * v) >> 20);
}

} // namespace

void ResampleLinear(const PixelPlane& source, const PixelPlane& target, std::int64_t spanX,
                    std::int64_t spanY)
{
    const LinearTaps columns = MakeLinearTaps(source.width, spanX, target.width);
    const LinearTaps rows = MakeLinearTaps(source.height, spanY, target.height);
    const std::size_t count = std::size_t(kChannels) * std::size_t(target.width);
    // Two interpolated source rows; source row r lives in slot r mod 2.
    std::vector<int> cache(2 * count);
    std::array<int, 2> held = {-1, -1};
    for (int y = 0; y < target.height; ++y) {
        std::array<const int*, 2> taps;
        for (int k = 0; k < 2; ++k) {
            const int sourceRow = rows.first[y] + k;
            int* row = cache.data() + (sourceRow % 2) * count;
            if (held[sourceRow % 2] != sourceRow) {
                interpolateRow(source.Row(sourceRow), columns, row);
                held[sourceRow % 2] = sourceRow;
            }
            taps[k] = row;
        }
        blendRows(taps[0], taps[1], rows.weight[y], target.Row(y), count);
    }
}
