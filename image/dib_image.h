#pragma once

#include "image/dib.h"
#include "image/image_region.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

class CFileReplacement;

// A bitmap as the platform's drawing code hands it over: rows top-down. 32-bit pixels are blue,
// green, red and an unused byte; 24-bit pixels blue, green, red; 1-, 4- and 8-bit pixels are
// indices into colors, most significant bits first.
struct CBitmapBits
{
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    const std::uint8_t* bits = nullptr;
    std::ptrdiff_t bytesPerLine = 0;
    DibPalette colors;
};

// The program's one in-memory image: a packed DIB in one owned buffer, with its palette and
// cached geometry. Integer results are 1 for success and 0 for failure.
class CDibImage
{
public:
    CDibImage() = default;
    ~CDibImage() = default;
    CDibImage(const CDibImage&) = delete;
    CDibImage& operator=(const CDibImage&) = delete;
    CDibImage(CDibImage&&) = default;
    CDibImage& operator=(CDibImage&&) = default;

    // Releases block, palette and region. Width, height, stride and bit count keep their values.
    void Free();

    // A new black image. Bit counts 24 and 32 are supported; there is no room for a colour table.
    // One whose block would exceed maxBytes is refused, as if the allocation had failed.
    int Create(int width, int height, int bitCount, std::size_t maxBytes = kMaxDibBytes);

    // Takes ownership of a packed DIB. An empty or malformed block empties the image and gives 0.
    int Attach(DibBlock block);
    // Gives up the block; the image is empty afterwards.
    DibBlock Detach();

    int CreateFromBitmap(const CBitmapBits& bitmap, const DibPalette* palette);

    int ConvertTo24Bit();
    int CropCenter(int width, int height, std::size_t maxBytes = kMaxDibBytes);

    int LoadBmp(const std::string& path);
    int SaveBmp(const std::string& path);
    // The same into a file not yet opened, which is committed but left to its owner to publish.
    int SaveBmp(CFileReplacement& file);

    bool IsEmpty() const { return m_block.empty(); }
    const DibBlock& Block() const { return m_block; }
    std::uint8_t* Header() { return m_block.data(); }
    const std::uint8_t* Header() const { return m_block.data(); }
    std::uint8_t* PixelData() { return DibPixelData(m_block.data()); }
    const std::uint8_t* PixelData() const { return DibPixelData(m_block.data()); }

    // The start of a picture row counted from the top; rows are stored bottom-up.
    std::uint8_t* PictureRow(int row) { return PixelData() + rowOffset(row); }
    const std::uint8_t* PictureRow(int row) const { return PixelData() + rowOffset(row); }

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int Stride() const { return m_stride; }
    int BitCount() const { return m_bitCount; }
    const std::optional<DibPalette>& Palette() const { return m_palette; }
    const CImageRegion* Region() const { return m_region.get(); }

private:
    std::ptrdiff_t rowOffset(int row) const
    {
        return static_cast<std::ptrdiff_t>(m_height - 1 - row) * m_stride;
    }

    DibBlock m_block;
    std::optional<DibPalette> m_palette;
    int m_width = 0;
    int m_height = 0;
    int m_stride = 0;
    int m_bitCount = 0;
    std::unique_ptr<CImageRegion> m_region;
};

// Makes a packed DIB of a bitmap: 1-, 4- and 8-bit bitmaps keep their depth and take their colour
// table from palette (or from the bitmap's own colours when palette is null); deeper ones become
// 24-bit. Empty when the bitmap cannot be described.
DibBlock DibFromBitmap(const CBitmapBits& bitmap, const DibPalette* palette);
