#pragma once

// Packed device-independent bitmaps: a header, a colour table and bottom-up pixel rows padded to
// four bytes, in one contiguous buffer. These helpers also serve blocks that no CDibImage owns.
// Each takes a pointer to the header of a block that DibIsValid has accepted.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

using DibBlock = std::vector<std::uint8_t>;

constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kCoreHeaderSize = 12;

constexpr std::uint32_t kCompressionRgb = 0;
constexpr std::uint32_t kCompressionRle8 = 1;
constexpr std::uint32_t kCompressionRle4 = 2;

// The largest packed DIB the program allocates. Anything bigger is refused as if the allocation
// had failed, so that a tiny hostile file cannot ask for gigabytes.
#ifdef CLIPMINT_MAX_DIB_BYTES
constexpr std::size_t kMaxDibBytes = CLIPMINT_MAX_DIB_BYTES;
#else
constexpr std::size_t kMaxDibBytes = std::size_t(1) << 30;
#endif

// A colour-table entry of the info layout: blue, green, red, reserved.
struct PaletteEntry
{
    std::uint8_t blue = 0;
    std::uint8_t green = 0;
    std::uint8_t red = 0;
    std::uint8_t reserved = 0;

    bool operator==(const PaletteEntry&) const = default;
};

using DibPalette = std::vector<PaletteEntry>;

std::uint32_t DibHeaderSize(const std::uint8_t* header);
bool DibHasInfoHeader(const std::uint8_t* header);

std::int32_t DibPixelWidth(const std::uint8_t* header);
std::int32_t DibPixelHeight(const std::uint8_t* header);
int DibBitCount(const std::uint8_t* header);
std::uint32_t DibCompression(const std::uint8_t* header);

int DibColorCount(const std::uint8_t* header);
int DibColorTableSize(const std::uint8_t* header);

const std::uint8_t* DibPixelData(const std::uint8_t* header);
std::uint8_t* DibPixelData(std::uint8_t* header);

// Bytes per pixel row, padded to four bytes; 0 when the row would not fit the program's limits.
std::int64_t DibStride(std::int64_t width, int bitCount);

// Checks a block before it is trusted: a 40- or 12-byte header, positive sizes, a bit count of 1
// to 32, and the colour table and every pixel row inside the buffer.
bool DibIsValid(const std::uint8_t* block, std::size_t size);

// Writes a 40-byte info header with zero resolutions.
void DibWriteInfoHeader(std::uint8_t* header, std::int32_t width, std::int32_t height, int bitCount,
                        std::uint32_t imageSize, std::uint32_t colorsUsed);

// A zeroed packed DIB with a 40-byte header, a colour table of colorCount black entries (also
// stored as colours used) and stride x height bytes of black rows. Empty when the sizes are not
// positive or the block would exceed kMaxDibBytes.
DibBlock DibAllocate(std::int64_t width, std::int64_t height, int bitCount, int colorCount);

// The palette rule: a block with a colour table gives a palette of its entries; one without gives
// none, as there is no palette display to serve.
std::optional<DibPalette> MakeDibPalette(const std::uint8_t* header);
