#pragma once

#include <optional>
#include <span>
#include <string_view>

// One entry of the Scale tool's size list: a magnification of the source, or a fixed size that
// the source is scaled to cover and then cut to.
struct ScaleSizeInfo
{
    std::string_view name; // as the Size list and the command line show it: "x1.5", "640x480"
    int halves;            // the magnification in halves (3 for x1.5), or 0 for a fixed size
    int width;             // the fixed size
    int height;
};

struct ImageSize
{
    int width;
    int height;
};

// The sizes in the order of the Size list, whose index the settings file stores.
std::span<const ScaleSizeInfo> scaleSizes();
// The index of the size with that name.
std::optional<int> ScaleSizeByName(std::string_view name);

// The size a source of width x height is brought to with the size at index: a magnification
// rounds down (x1.5 of 101 x 75 is 151 x 112). Nothing for an index outside the list.
std::optional<ImageSize> ScaleTargetSize(int index, int width, int height);
