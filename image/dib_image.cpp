#include "image/dib_image.h"

#include "image/byte_order.h"

#include <cstring>
#include <new>

namespace {

// Pixel decoding of ConvertTo24Bit: writes blue, green and red of one source pixel.
// Returns false for a bit count it cannot read.
bool decodePixel(const std::uint8_t* row, int x, int bitCount, int stride,
                 const DibPalette& palette, std::uint8_t* out)
{
    int index = -1;
    switch (bitCount) {
    case 1:
        index = (row[x / 8] >> (7 - x % 8)) & 1;
        break;
    case 2:
        index = (row[x / 4] >> (6 - 2 * (x % 4))) & 3;
        break;
    case 4:
        index = (row[x / 2] >> (x % 2 ? 0 : 4)) & 15;
        break;
    case 8:
        index = row[x];
        break;
    case 15:
    case 16: {
        // A 15-bit row is padded for 15 bits a pixel but read as 16-bit words: a word that does
        // not fit in the row reads as black.
        if (2 * x + 2 > stride) {
            out[0] = out[1] = out[2] = 0;
            return true;
        }
        const std::uint16_t w = ReadLE16(row + 2 * x);
        out[0] = static_cast<std::uint8_t>((w & 0x1F) << 3);
        out[1] = static_cast<std::uint8_t>(((w >> 5) & 0x1F) << 3);
        out[2] = static_cast<std::uint8_t>(((w >> 10) & 0x1F) << 3);
        return true;
    }
    case 24:
        std::memcpy(out, row + 3 * x, 3);
        return true;
    case 32:
        std::memcpy(out, row + 4 * x, 3);
        return true;
    default:
        return false;
    }
    // An index beyond the palette (a short colour table) reads as black.
    if (static_cast<size_t>(index) >= palette.size()) {
        out[0] = out[1] = out[2] = 0;
    } else {
        out[0] = palette[index].blue;
        out[1] = palette[index].green;
        out[2] = palette[index].red;
    }
    return true;
}

int chooseBitCount(int deviceBits)
{
    if (deviceBits <= 1)
        return 1;
    if (deviceBits <= 4)
        return 4;
    if (deviceBits <= 8)
        return 8;
    return 24;
}

} // namespace

void CDibImage::Free()
{
    m_region.reset();
    m_palette.reset();
    DibBlock().swap(m_block);
}

int CDibImage::Create(int width, int height, int bitCount, std::size_t maxBytes)
{
    Free();
    if (width <= 0 || height <= 0 || (bitCount != 24 && bitCount != 32))
        return 0;
    const std::int64_t stride = DibStride(width, bitCount);
    if (stride == 0)
        return 0;
    // Four bytes beyond header and rows, as the block has always been laid out.
    const std::uint64_t size = kInfoHeaderSize + 4 + std::uint64_t(height) * std::uint64_t(stride);
    if (size > maxBytes)
        return 0;

    m_width = width;
    m_height = height;
    m_bitCount = bitCount;
    m_stride = static_cast<int>(stride);
    m_region = std::make_unique<CImageRegion>(ImageRect{0, 0, width, height});
    try {
        m_block.assign(size, 0);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    DibWriteInfoHeader(m_block.data(), width, height, bitCount, 0, 0);
    return 1;
}

int CDibImage::Attach(DibBlock block)
{
    Free();
    if (!DibIsValid(block.data(), block.size()))
        return 0;
    m_block = std::move(block);
    const std::uint8_t* header = m_block.data();
    m_width = DibPixelWidth(header);
    m_height = DibPixelHeight(header);
    m_bitCount = DibBitCount(header);
    m_stride = static_cast<int>(DibStride(m_width, m_bitCount));
    m_region = std::make_unique<CImageRegion>(ImageRect{0, 0, m_width, m_height});
    m_palette = MakeDibPalette(header);
    return 1;
}

DibBlock CDibImage::Detach()
{
    DibBlock block;
    block.swap(m_block);
    Free();
    return block;
}

int CDibImage::CreateFromBitmap(const CBitmapBits& bitmap, const DibPalette* palette)
{
    DibBlock block = DibFromBitmap(bitmap, palette);
    if (block.empty())
        return 0;
    return Attach(std::move(block));
}

int CDibImage::ConvertTo24Bit()
{
    if (IsEmpty())
        return 0;
    if (m_bitCount == 24)
        return 1;
    if (m_bitCount < 15 && !m_palette)
        return 0;
    if (DibCompression(Header()) != kCompressionRgb)
        return 0;

    const DibPalette palette = m_palette.value_or(DibPalette{});
    const ImageRect rect = m_region->GetRect();
    CDibImage result;
    if (!result.Create(rect.right - rect.left, rect.bottom - rect.top, 24))
        return 0;

    bool ok = true;
    for (int y = rect.top; y < rect.bottom && ok; ++y) {
        const std::uint8_t* source = PictureRow(y);
        std::uint8_t* target = result.PictureRow(y - rect.top);
        for (int x = rect.left; x < rect.right; ++x, target += 3) {
            if (!decodePixel(source, x, m_bitCount, m_stride, palette, target)) {
                ok = false;
                break;
            }
        }
    }
    // Also after a failure: the image is then an all-black 24-bit one of the same size.
    Attach(result.Detach());
    return ok ? 1 : 0;
}

int CDibImage::CropCenter(int width, int height, std::size_t maxBytes)
{
    if (IsEmpty() || m_bitCount != 24)
        return 0;
    if (m_width < width || m_height < height)
        return 1;
    CDibImage result;
    if (!result.Create(width, height, 24, maxBytes))
        return 0;
    const int left = (m_width - width) / 2;
    const int top = (m_height - height) / 2;
    for (int row = 0; row < height; ++row)
        std::memcpy(result.PictureRow(row), PictureRow(top + row) + 3 * left, size_t(width) * 3);
    return Attach(result.Detach());
}

DibBlock DibFromBitmap(const CBitmapBits& bitmap, const DibPalette* palette)
{
    const int sourceBits = bitmap.bitsPerPixel;
    if (bitmap.bits == nullptr || bitmap.width <= 0 || bitmap.height <= 0)
        return {};
    if (sourceBits != 1 && sourceBits != 4 && sourceBits != 8 && sourceBits != 24 &&
        sourceBits != 32)
        return {};
    if (bitmap.bytesPerLine < (std::int64_t(bitmap.width) * sourceBits + 7) / 8)
        return {};

    const int bitCount = chooseBitCount(sourceBits);
    const DibPalette& colors = (bitCount <= 8 && palette) ? *palette : bitmap.colors;
    const int colorCount = bitCount <= 8 ? 1 << bitCount : 0;
    DibBlock block = DibAllocate(bitmap.width, bitmap.height, bitCount, colorCount);
    if (block.empty())
        return {};
    const std::int64_t stride = DibStride(bitmap.width, bitCount);
    WriteLE32(block.data() + 36, 0); // colours important
    std::uint8_t* table = block.data() + kInfoHeaderSize;
    for (int i = 0; i < colorCount && size_t(i) < colors.size(); ++i) {
        table[4 * i] = colors[i].blue;
        table[4 * i + 1] = colors[i].green;
        table[4 * i + 2] = colors[i].red;
    }

    std::uint8_t* pixels = table + 4 * colorCount;
    const size_t indexedBytes = (size_t(bitmap.width) * size_t(sourceBits) + 7) / 8;
    for (int row = 0; row < bitmap.height; ++row) {
        const std::uint8_t* source = bitmap.bits + row * bitmap.bytesPerLine;
        std::uint8_t* target = pixels + size_t(bitmap.height - 1 - row) * size_t(stride);
        if (bitCount <= 8) {
            std::memcpy(target, source, indexedBytes);
        } else {
            const int step = sourceBits / 8;
            for (int x = 0; x < bitmap.width; ++x)
                std::memcpy(target + 3 * x, source + step * x, 3);
        }
    }
    return block;
}
