#include "batch/scale_size.h"

#include <algorithm>
#include <array>
#include <climits>

namespace {

constexpr std::array<ScaleSizeInfo, 6> kSizes{{
    {"x1.5", 3, 0, 0},
    {"x2", 4, 0, 0},
    {"x3", 6, 0, 0},
    {"640x480", 0, 640, 480},
    {"800x600", 0, 800, 600},
    {"1024x768", 0, 1024, 768},
}};

int magnified(int length, int halves)
{
    const long long side = static_cast<long long>(length) * halves / 2;
    return static_cast<int>(std::min<long long>(side, INT_MAX));
}

} // namespace

std::span<const ScaleSizeInfo> scaleSizes()
{
    return kSizes;
}

std::optional<int> ScaleSizeByName(std::string_view name)
{
    const auto entry =
        std::find_if(kSizes.begin(), kSizes.end(),
                     [name](const ScaleSizeInfo& size) { return size.name == name; });
    if (entry == kSizes.end())
        return std::nullopt;
    return static_cast<int>(entry - kSizes.begin());
}

std::optional<ImageSize> ScaleTargetSize(int index, int width, int height)
{
    if (index < 0 || index >= static_cast<int>(kSizes.size()))
        return std::nullopt;
    const ScaleSizeInfo& size = kSizes[static_cast<size_t>(index)];
    if (size.halves == 0)
        return ImageSize{size.width, size.height};
    return ImageSize{magnified(width, size.halves), magnified(height, size.halves)};
}
