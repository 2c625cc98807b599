#include "batch/resample/resample_geometry.h"
#include "batch/resample/resample_kernels.h"

#include <cstring>

void ResampleNearest(const PixelPlane& source, const PixelPlane& target, std::int64_t spanX,
                     std::int64_t spanY)
{
    const std::vector<int> columns = MakeNearestTaps(source.width, spanX, target.width);
    const std::vector<int> rows = MakeNearestTaps(source.height, spanY, target.height);
    for (int y = 0; y < target.height; ++y) {
        const std::uint8_t* from = source.Row(rows[y]);
        std::uint8_t* to = target.Row(y);
        for (int x = 0; x < target.width; ++x)
            std::memcpy(to + kChannels * x, from + kChannels * columns[x], kChannels);
    }
}
