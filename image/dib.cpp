#include "image/dib.h"

#include "image/byte_order.h"

#include <new>

std::uint32_t DibHeaderSize(const std::uint8_t* header)
{
    return ReadLE32(header);
}

bool DibHasInfoHeader(const std::uint8_t* header)
{
    return DibHeaderSize(header) == kInfoHeaderSize;
}

std::int32_t DibPixelWidth(const std::uint8_t* header)
{
    return DibHasInfoHeader(header) ? ReadLE32Signed(header + 4) : ReadLE16(header + 4);
}

std::int32_t DibPixelHeight(const std::uint8_t* header)
{
    return DibHasInfoHeader(header) ? ReadLE32Signed(header + 8) : ReadLE16(header + 6);
}

int DibBitCount(const std::uint8_t* header)
{
    return DibHasInfoHeader(header) ? ReadLE16(header + 14) : ReadLE16(header + 10);
}

std::uint32_t DibCompression(const std::uint8_t* header)
{
    return DibHasInfoHeader(header) ? ReadLE32(header + 16) : kCompressionRgb;
}

int DibColorCount(const std::uint8_t* header)
{
    if (DibHasInfoHeader(header)) {
        const std::uint32_t used = ReadLE32(header + 32);
        if (used != 0)
            return static_cast<std::uint16_t>(used);
    }
    switch (DibBitCount(header)) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

int DibColorTableSize(const std::uint8_t* header)
{
    return DibColorCount(header) * (DibHasInfoHeader(header) ? 4 : 3);
}

const std::uint8_t* DibPixelData(const std::uint8_t* header)
{
    return header + DibHeaderSize(header) + DibColorTableSize(header);
}

std::uint8_t* DibPixelData(std::uint8_t* header)
{
    return header + DibHeaderSize(header) + DibColorTableSize(header);
}

std::int64_t DibStride(std::int64_t width, int bitCount)
{
    if (width <= 0 || bitCount <= 0 || bitCount > 32)
        return 0;
    const std::int64_t stride = (bitCount * width + 31) / 32 * 4;
    return stride <= static_cast<std::int64_t>(kMaxDibBytes) ? stride : 0;
}

bool DibIsValid(const std::uint8_t* block, std::size_t size)
{
    if (block == nullptr || size < 4)
        return false;
    const std::uint32_t headerSize = DibHeaderSize(block);
    if (headerSize != kInfoHeaderSize && headerSize != kCoreHeaderSize)
        return false;
    if (size < headerSize)
        return false;
    if (DibHasInfoHeader(block) && ReadLE32(block + 32) > 0xFFFF)
        return false;

    const std::int64_t width = DibPixelWidth(block);
    const std::int64_t height = DibPixelHeight(block);
    const int bitCount = DibBitCount(block);
    const std::int64_t stride = DibStride(width, bitCount);
    if (height <= 0 || stride == 0)
        return false;

    const std::uint64_t pixelOffset =
        std::uint64_t(headerSize) + static_cast<std::uint64_t>(DibColorTableSize(block));
    if (pixelOffset > size)
        return false;
    const std::uint64_t available = size - pixelOffset;
    const std::uint32_t compression = DibCompression(block);
    if (compression == kCompressionRgb)
        return std::uint64_t(height) <= available / std::uint64_t(stride);
    if (compression == kCompressionRle8 || compression == kCompressionRle4)
        return ReadLE32(block + 20) <= available;
    return false;
}

void DibWriteInfoHeader(std::uint8_t* header, std::int32_t width, std::int32_t height, int bitCount,
                        std::uint32_t imageSize, std::uint32_t colorsUsed)
{
    WriteLE32(header, kInfoHeaderSize);
    WriteLE32(header + 4, static_cast<std::uint32_t>(width));
    WriteLE32(header + 8, static_cast<std::uint32_t>(height));
    WriteLE16(header + 12, 1);
    WriteLE16(header + 14, static_cast<std::uint16_t>(bitCount));
    WriteLE32(header + 16, kCompressionRgb);
    WriteLE32(header + 20, imageSize);
    WriteLE32(header + 24, 0);
    WriteLE32(header + 28, 0);
    WriteLE32(header + 32, colorsUsed);
    WriteLE32(header + 36, colorsUsed);
}

DibBlock DibAllocate(std::int64_t width, std::int64_t height, int bitCount, int colorCount)
{
    const std::int64_t stride = DibStride(width, bitCount);
    if (stride == 0 || height <= 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF || colorCount < 0)
        return {};
    const std::uint64_t imageSize = std::uint64_t(stride) * std::uint64_t(height);
    const std::uint64_t size = kInfoHeaderSize + 4 * std::uint64_t(colorCount) + imageSize;
    if (size > kMaxDibBytes)
        return {};
    DibBlock block;
    try {
        block.assign(size, 0);
    } catch (const std::bad_alloc&) {
        return {};
    }
    DibWriteInfoHeader(
        block.data(), static_cast<std::int32_t>(width), static_cast<std::int32_t>(height), bitCount,
        static_cast<std::uint32_t>(imageSize), static_cast<std::uint32_t>(colorCount));
    return block;
}

std::optional<DibPalette> MakeDibPalette(const std::uint8_t* header)
{
    const int count = DibColorCount(header);
    if (count == 0)
        return std::nullopt;
    const bool info = DibHasInfoHeader(header);
    const int entrySize = info ? 4 : 3;
    const std::uint8_t* table = header + DibHeaderSize(header);
    DibPalette palette(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::uint8_t* entry = table + i * entrySize;
        palette[i] = PaletteEntry{entry[0], entry[1], entry[2], 0};
    }
    return palette;
}
