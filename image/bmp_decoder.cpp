#include "image/bmp_decoder.h"

#include "image/byte_order.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kCompressionBitFields = 3;
constexpr std::uint32_t kCompressionAlphaBitFields = 6;

struct BmpInfo
{
    std::uint32_t headerSize = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = kCompressionRgb;
    std::uint32_t imageSize = 0;
    std::uint32_t colorsUsed = 0;
    std::uint32_t masks[3] = {};
    std::size_t tableStart = 0;
    int entrySize = 4;
};

bool isKnownHeaderSize(std::uint32_t size)
{
    switch (size) {
    case 12:
    case 16:
    case 40:
    case 52:
    case 56:
    case 64:
    case 108:
    case 124:
        return true;
    default:
        return false;
    }
}

bool usesBitFields(const BmpInfo& info)
{
    return info.compression == kCompressionBitFields ||
           info.compression == kCompressionAlphaBitFields;
}

// Reads and checks the header; false for anything this reader does not take.
bool parseHeader(std::span<const std::uint8_t> file, BmpInfo& info)
{
    if (file.size() < kFileHeaderSize + 4 || file[0] != 'B' || file[1] != 'M')
        return false;
    const std::uint8_t* h = file.data() + kFileHeaderSize;
    info.headerSize = ReadLE32(h);
    if (!isKnownHeaderSize(info.headerSize) || file.size() < kFileHeaderSize + info.headerSize)
        return false;

    int planes = 0;
    if (info.headerSize == kCoreHeaderSize) {
        info.width = ReadLE16(h + 4);
        info.height = ReadLE16(h + 6);
        planes = ReadLE16(h + 8);
        info.bitCount = ReadLE16(h + 10);
        info.entrySize = 3;
    } else {
        info.width = ReadLE32Signed(h + 4);
        info.height = ReadLE32Signed(h + 8);
        planes = ReadLE16(h + 12);
        info.bitCount = ReadLE16(h + 14);
        if (info.headerSize >= 40) {
            info.compression = ReadLE32(h + 16);
            info.imageSize = ReadLE32(h + 20);
            info.colorsUsed = ReadLE32(h + 32);
        }
    }
    if (info.height < 0) {
        info.topDown = true;
        info.height = -info.height;
    }
    if (planes != 1 || info.width <= 0 || info.height <= 0)
        return false;

    // The OS/2 2.x headers number their compressions differently: 3 is Huffman, 4 is RLE24.
    const bool os2 = info.headerSize == 16 || info.headerSize == 64;
    switch (info.compression) {
    case kCompressionRgb:
        if (info.bitCount != 1 && info.bitCount != 2 && info.bitCount != 4 && info.bitCount != 8 &&
            info.bitCount != 16 && info.bitCount != 24 && info.bitCount != 32)
            return false;
        break;
    case kCompressionRle8:
    case kCompressionRle4:
        if (info.bitCount != (info.compression == kCompressionRle8 ? 8 : 4) || info.topDown)
            return false;
        break;
    case kCompressionBitFields:
    case kCompressionAlphaBitFields:
        if (os2 || (info.bitCount != 16 && info.bitCount != 32))
            return false;
        break;
    default:
        return false;
    }

    info.tableStart = kFileHeaderSize + info.headerSize;
    if (usesBitFields(info)) {
        // A 40-byte header is followed by the masks; the longer ones hold them.
        const std::uint8_t* masks = h + 40;
        if (info.headerSize == 40) {
            const std::size_t maskBytes = info.compression == kCompressionBitFields ? 12 : 16;
            if (file.size() < info.tableStart + maskBytes)
                return false;
            info.tableStart += maskBytes;
        }
        for (int i = 0; i < 3; ++i)
            info.masks[i] = ReadLE32(masks + 4 * i);
    }
    return true;
}

int outputBitCount(const BmpInfo& info)
{
    return usesBitFields(info) ? 24 : info.bitCount;
}

// One channel of a bit-field pixel, scaled to 0..255.
struct Channel
{
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t maximum = 0;

    explicit Channel(std::uint32_t m) : mask(m)
    {
        if (mask != 0) {
            shift = std::countr_zero(mask);
            maximum = mask >> shift;
        }
    }

    std::uint8_t operator()(std::uint32_t pixel) const
    {
        if (maximum == 0)
            return 0;
        const std::uint64_t value = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>((value * 255 + maximum / 2) / maximum);
    }
};

void decodeBitFieldRow(const BmpInfo& info, const std::uint8_t* in, std::uint8_t* out)
{
    const Channel red(info.masks[0]);
    const Channel green(info.masks[1]);
    const Channel blue(info.masks[2]);
    const int bytes = info.bitCount / 8;
    for (std::int64_t x = 0; x < info.width; ++x, in += bytes, out += 3) {
        const std::uint32_t pixel = bytes == 2 ? ReadLE16(in) : ReadLE32(in);
        out[0] = blue(pixel);
        out[1] = green(pixel);
        out[2] = red(pixel);
    }
}

// Whether the file holds every row its header claims; a file may end without the padding of
// its last row.
bool holdsAllRows(const BmpInfo& info, std::span<const std::uint8_t> data)
{
    const std::int64_t sourceStride = DibStride(info.width, info.bitCount);
    const std::int64_t lastRowBytes = (info.width * info.bitCount + 7) / 8;
    // Divided rather than multiplied: a hostile header's product overflows.
    return sourceStride != 0 && std::uint64_t(lastRowBytes) <= data.size() &&
           std::uint64_t(info.height - 1) <=
               (data.size() - std::uint64_t(lastRowBytes)) / std::uint64_t(sourceStride);
}

void decodeRows(const BmpInfo& info, std::span<const std::uint8_t> data, std::uint8_t* pixels,
                std::int64_t stride)
{
    const std::int64_t sourceStride = DibStride(info.width, info.bitCount);
    const std::int64_t lastRowBytes = (info.width * info.bitCount + 7) / 8;
    for (std::int64_t row = 0; row < info.height; ++row) {
        const std::uint8_t* in = data.data() + row * sourceStride;
        const std::int64_t target = info.topDown ? info.height - 1 - row : row;
        std::uint8_t* out = pixels + target * stride;
        const std::size_t rowBytes = row + 1 == info.height ? lastRowBytes : sourceStride;
        if (usesBitFields(info))
            decodeBitFieldRow(info, in, out);
        else
            std::memcpy(out, in, std::min<std::size_t>(rowBytes, stride));
    }
}

// Run-length decoding; rows come bottom-up like the output. Pixels the stream skips or never
// reaches keep index 0; runs that overflow a row are cut at its end.
void decodeRle(const BmpInfo& info, std::span<const std::uint8_t> data, std::uint8_t* pixels,
               std::int64_t stride)
{
    const bool four = info.compression == kCompressionRle4;
    std::int64_t x = 0;
    std::int64_t y = 0;
    auto put = [&](int index) {
        if (x < info.width && y < info.height) {
            std::uint8_t* row = pixels + y * stride;
            if (four) {
                std::uint8_t& byte = row[x / 2];
                byte = x % 2 ? (byte & 0xF0) | (index & 0x0F)
                             : static_cast<std::uint8_t>((byte & 0x0F) | (index << 4));
            } else {
                row[x] = static_cast<std::uint8_t>(index);
            }
        }
        ++x;
    };

    std::size_t pos = 0;
    while (pos + 2 <= data.size() && y < info.height) {
        const int count = data[pos];
        const int value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            for (int i = 0; i < count && x < info.width; ++i)
                put(four ? (i % 2 ? value & 0x0F : value >> 4) : value);
        } else if (value == 0) {
            x = 0;
            ++y;
        } else if (value == 1) {
            return;
        } else if (value == 2) {
            if (pos + 2 > data.size())
                return;
            x += data[pos];
            y += data[pos + 1];
            pos += 2;
        } else {
            const std::size_t bytes = four ? (value + 1) / 2 : value;
            if (pos + bytes > data.size())
                return;
            for (int i = 0; i < value; ++i) {
                const int byte = data[pos + (four ? i / 2 : i)];
                put(four ? (i % 2 ? byte & 0x0F : byte >> 4) : byte);
            }
            pos += (bytes + 1) & ~std::size_t(1);
        }
    }
}

} // namespace

DibBlock DecodeBmp(std::span<const std::uint8_t> file)
{
    BmpInfo info;
    if (!parseHeader(file, info))
        return {};

    const int bitCount = outputBitCount(info);
    const int colors = bitCount <= 8 ? 1 << bitCount : 0;

    // The colour table: what the header asks for, as far as the file holds it before the pixels.
    std::uint64_t pixelOffset = ReadLE32(file.data() + 10);
    std::uint64_t entries = 0;
    if (colors > 0)
        entries = std::min<std::uint64_t>(info.colorsUsed ? info.colorsUsed : colors, colors);
    if (pixelOffset < info.tableStart)
        pixelOffset = info.tableStart + entries * info.entrySize;
    else
        entries =
            std::min<std::uint64_t>(entries, (pixelOffset - info.tableStart) / info.entrySize);
    if (pixelOffset > file.size())
        return {};
    const std::span<const std::uint8_t> data = file.subspan(pixelOffset);

    const bool rle = info.compression == kCompressionRle8 || info.compression == kCompressionRle4;
    // Sizes are checked against the file before anything is allocated, so that a small file
    // that claims a huge picture costs nothing.
    if (rle ? info.imageSize > data.size() : !holdsAllRows(info, data))
        return {};

    DibBlock block = DibAllocate(info.width, info.height, bitCount, colors);
    if (block.empty())
        return {};
    const std::int64_t stride = DibStride(info.width, bitCount);
    std::uint8_t* table = block.data() + kInfoHeaderSize;
    for (std::uint64_t i = 0; i < entries; ++i)
        std::memcpy(table + 4 * i, file.data() + info.tableStart + i * info.entrySize, 3);

    std::uint8_t* pixels = table + 4 * colors;
    if (rle)
        decodeRle(info, data, pixels, stride);
    else
        decodeRows(info, data, pixels, stride);
    return block;
}
