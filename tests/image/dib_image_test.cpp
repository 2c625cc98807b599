#include "image/byte_order.h"
#include "image/dib_image.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// A packed DIB with a 40-byte header, the given colour table and zeroed rows.
DibBlock makeBlock(int width, int height, int bitCount, const DibPalette& colors)
{
    const auto stride = static_cast<size_t>(DibStride(width, bitCount));
    DibBlock block(kInfoHeaderSize + 4 * colors.size() + stride * height, 0);
    DibWriteInfoHeader(block.data(), width, height, bitCount, 0,
                       static_cast<std::uint32_t>(colors.size()));
    for (size_t i = 0; i < colors.size(); ++i) {
        block[kInfoHeaderSize + 4 * i] = colors[i].blue;
        block[kInfoHeaderSize + 4 * i + 1] = colors[i].green;
        block[kInfoHeaderSize + 4 * i + 2] = colors[i].red;
    }
    return block;
}

std::uint8_t* topRow(DibBlock& block, int height)
{
    std::uint8_t* header = block.data();
    const auto stride = DibStride(DibPixelWidth(header), DibBitCount(header));
    return DibPixelData(header) + (height - 1) * stride;
}

void expectPixel(const CDibImage& image, int x, int y, int blue, int green, int red)
{
    const std::uint8_t* p = image.PictureRow(y) + 3 * x;
    EXPECT_EQ(p[0], blue) << "pixel " << x << "," << y;
    EXPECT_EQ(p[1], green) << "pixel " << x << "," << y;
    EXPECT_EQ(p[2], red) << "pixel " << x << "," << y;
}

const PaletteEntry kBlack{0, 0, 0, 0};
const PaletteEntry kWhite{255, 255, 255, 0};

} // namespace

TEST(DibImage, CreateMakesABlackBottomUpImageWithPaddedRows)
{
    CDibImage image;
    ASSERT_EQ(image.Create(1, 1, 24), 1);
    EXPECT_EQ(image.Stride(), 4);
    EXPECT_EQ(image.Block().size(), 48u);
    EXPECT_EQ(DibHeaderSize(image.Header()), 40u);
    EXPECT_EQ(DibColorCount(image.Header()), 0);
    EXPECT_FALSE(image.Palette().has_value());

    ASSERT_EQ(image.Create(5, 3, 24), 1);
    EXPECT_EQ(image.Stride(), 16);
    EXPECT_EQ(image.PictureRow(0), image.PixelData() + 2 * 16);
    EXPECT_EQ(image.Region()->GetRect(), (ImageRect{0, 0, 5, 3}));
    EXPECT_TRUE(image.Region()->PtInRegion(4, 2));
    EXPECT_FALSE(image.Region()->PtInRegion(5, 2));
}

TEST(DibImage, CreateRefusesWhatCannotBeHeld)
{
    CDibImage image;
    EXPECT_EQ(image.Create(0, 10, 24), 0);
    EXPECT_EQ(image.Create(10, -1, 24), 0);
    EXPECT_EQ(image.Create(10, 10, 8), 0);
    EXPECT_EQ(image.Create(65535, 65535, 24), 0);
    EXPECT_TRUE(image.IsEmpty());
}

TEST(DibImage, FreeKeepsTheCachedGeometry)
{
    CDibImage image;
    image.Create(7, 3, 24);
    image.Free();
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(image.Width(), 7);
    EXPECT_EQ(image.Height(), 3);
    EXPECT_EQ(image.Stride(), 24);
    EXPECT_EQ(image.Region(), nullptr);
}

TEST(DibImage, AttachRefusesMalformedBlocks)
{
    CDibImage image;
    image.Create(2, 2, 24);
    EXPECT_EQ(image.Attach(DibBlock()), 0);
    EXPECT_TRUE(image.IsEmpty());

    DibBlock shortRows = makeBlock(4, 4, 24, {});
    shortRows.resize(shortRows.size() - 1);
    EXPECT_EQ(image.Attach(shortRows), 0);

    DibBlock badHeader = makeBlock(4, 4, 24, {});
    WriteLE32(badHeader.data(), 108);
    EXPECT_EQ(image.Attach(badHeader), 0);

    DibBlock negativeHeight = makeBlock(4, 4, 24, {});
    WriteLE32(negativeHeight.data() + 8, static_cast<std::uint32_t>(-4));
    EXPECT_EQ(image.Attach(negativeHeight), 0);

    DibBlock hugeTable = makeBlock(4, 4, 8, {});
    WriteLE32(hugeTable.data() + 32, 200000);
    EXPECT_EQ(image.Attach(hugeTable), 0);
    EXPECT_TRUE(image.IsEmpty());
}

TEST(DibImage, AttachReadsTheCoreLayoutWithThreeByteColours)
{
    // 12-byte header: 16-bit width and height, then three-byte colour entries.
    DibBlock block(12 + 2 * 3 + 4 * 2, 0);
    WriteLE32(block.data(), 12);
    WriteLE16(block.data() + 4, 3);
    WriteLE16(block.data() + 6, 2);
    WriteLE16(block.data() + 8, 1);
    WriteLE16(block.data() + 10, 1);
    block[12 + 3] = 10; // second entry: blue 10, green 20, red 30
    block[12 + 4] = 20;
    block[12 + 5] = 30;
    block[18 + 4] = 0x40; // top row, second pixel set

    CDibImage image;
    ASSERT_EQ(image.Attach(block), 1);
    EXPECT_EQ(image.Width(), 3);
    EXPECT_EQ(image.Height(), 2);
    EXPECT_EQ(DibColorTableSize(image.Header()), 6);
    ASSERT_TRUE(image.Palette().has_value());
    EXPECT_EQ((*image.Palette())[1], (PaletteEntry{10, 20, 30, 0}));

    ASSERT_EQ(image.ConvertTo24Bit(), 1);
    expectPixel(image, 0, 0, 0, 0, 0);
    expectPixel(image, 1, 0, 10, 20, 30);
}

TEST(DibImage, ConvertTo24BitDecodesEveryPaletteDepth)
{
    const DibPalette colors = {kBlack, kWhite, {1, 2, 3, 0}, {4, 5, 6, 0}};
    struct Case
    {
        int bitCount;
        std::uint8_t firstByte;
        int expected[4]; // palette indices of the first four pixels
    };
    const Case cases[] = {
        {1, 0x80, {1, 0, 0, 0}},
        {2, 0x1B, {0, 1, 2, 3}},
        {4, 0x21, {2, 1, 0, 0}},
        {8, 0x03, {3, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bitCount);
        DibBlock block = makeBlock(8, 2, c.bitCount, colors);
        topRow(block, 2)[0] = c.firstByte;
        CDibImage image;
        ASSERT_EQ(image.Attach(block), 1);
        ASSERT_EQ(image.ConvertTo24Bit(), 1);
        EXPECT_EQ(image.BitCount(), 24);
        for (int x = 0; x < 4; ++x) {
            const PaletteEntry& e = colors[c.expected[x]];
            expectPixel(image, x, 0, e.blue, e.green, e.red);
        }
        expectPixel(image, 0, 1, 0, 0, 0);
    }
}

TEST(DibImage, ConvertTo24BitReadsIndicesBeyondTheTableAsBlack)
{
    DibBlock block = makeBlock(2, 1, 8, {kWhite, kWhite});
    topRow(block, 1)[0] = 1;
    topRow(block, 1)[1] = 200;
    CDibImage image;
    ASSERT_EQ(image.Attach(block), 1);
    ASSERT_EQ(image.ConvertTo24Bit(), 1);
    expectPixel(image, 0, 0, 255, 255, 255);
    expectPixel(image, 1, 0, 0, 0, 0);
}

TEST(DibImage, ConvertTo24BitReadsSixteenBitsAsFiveFiveFive)
{
    DibBlock block = makeBlock(3, 1, 16, {});
    WriteLE16(topRow(block, 1), 0x7FFF);
    WriteLE16(topRow(block, 1) + 2, 0x8000);
    WriteLE16(topRow(block, 1) + 4, 0x7C1F); // red and blue at full
    CDibImage image;
    ASSERT_EQ(image.Attach(block), 1);
    ASSERT_EQ(image.ConvertTo24Bit(), 1);
    expectPixel(image, 0, 0, 248, 248, 248);
    expectPixel(image, 1, 0, 0, 0, 0);
    expectPixel(image, 2, 0, 248, 0, 248);
}

TEST(DibImage, ConvertTo24BitDropsTheFourthByteOfThirtyTwoBits)
{
    DibBlock block = makeBlock(1, 1, 32, {});
    std::memcpy(topRow(block, 1), "\x01\x02\x03\x04", 4);
    CDibImage image;
    ASSERT_EQ(image.Attach(block), 1);
    ASSERT_EQ(image.ConvertTo24Bit(), 1);
    expectPixel(image, 0, 0, 1, 2, 3);
}

TEST(DibImage, ConvertTo24BitLeavesTwentyFourBitImagesAlone)
{
    CDibImage image;
    image.Create(2, 2, 24);
    image.PictureRow(0)[0] = 9;
    const DibBlock before = image.Block();
    EXPECT_EQ(image.ConvertTo24Bit(), 1);
    EXPECT_EQ(image.Block(), before);
}

TEST(DibImage, ConvertTo24BitFailures)
{
    // Palette depth without a palette: refused, unchanged.
    DibBlock noPalette = makeBlock(4, 4, 2, {});
    CDibImage image;
    ASSERT_EQ(image.Attach(noPalette), 1);
    EXPECT_EQ(image.ConvertTo24Bit(), 0);
    EXPECT_EQ(image.BitCount(), 2);

    // An unknown depth leaves an all-black 24-bit image of the same size.
    DibBlock odd = makeBlock(4, 4, 20, {});
    std::memset(DibPixelData(odd.data()), 0xFF, 4 * 12);
    ASSERT_EQ(image.Attach(odd), 1);
    EXPECT_EQ(image.ConvertTo24Bit(), 0);
    EXPECT_EQ(image.BitCount(), 24);
    EXPECT_EQ(image.Width(), 4);
    expectPixel(image, 0, 0, 0, 0, 0);

    CDibImage empty;
    EXPECT_EQ(empty.ConvertTo24Bit(), 0);
}

TEST(DibImage, CropCenterKeepsTheMiddleWindow)
{
    CDibImage image;
    ASSERT_EQ(image.Create(641, 481, 24), 1);
    for (int y = 0; y < 481; ++y) {
        for (int x = 0; x < 641; ++x) {
            std::uint8_t* p = image.PictureRow(y) + 3 * x;
            p[0] = static_cast<std::uint8_t>(x);
            p[1] = static_cast<std::uint8_t>(x >> 8);
            p[2] = static_cast<std::uint8_t>(y);
        }
    }
    ASSERT_EQ(image.CropCenter(640, 480), 1);
    EXPECT_EQ(image.Width(), 640);
    EXPECT_EQ(image.Height(), 480);
    expectPixel(image, 0, 0, 0, 0, 0);
    expectPixel(image, 639, 479, 639 & 0xFF, 639 >> 8, 479 & 0xFF);

    CDibImage narrow;
    narrow.Create(639, 481, 24);
    const DibBlock before = narrow.Block();
    EXPECT_EQ(narrow.CropCenter(640, 480), 1);
    EXPECT_EQ(narrow.Block(), before);

    CDibImage eightBit;
    EXPECT_EQ(eightBit.Attach(makeBlock(8, 8, 8, {kWhite})), 1);
    EXPECT_EQ(eightBit.CropCenter(4, 4), 0);
}

TEST(DibImage, CreateFromBitmapTurnsTopDownRowsIntoBottomUp)
{
    // Two rows of 32-bit pixels, top row first.
    const std::uint8_t bits[] = {1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0};
    CBitmapBits bitmap;
    bitmap.width = 2;
    bitmap.height = 2;
    bitmap.bitsPerPixel = 32;
    bitmap.bits = bits;
    bitmap.bytesPerLine = 8;
    CDibImage image;
    ASSERT_EQ(image.CreateFromBitmap(bitmap, nullptr), 1);
    EXPECT_EQ(image.BitCount(), 24);
    EXPECT_EQ(ReadLE32(image.Header() + 20), 16u); // image size
    expectPixel(image, 0, 0, 1, 2, 3);
    expectPixel(image, 1, 1, 10, 11, 12);

    const std::uint8_t indexed[] = {0x80, 0x00};
    bitmap = CBitmapBits{};
    bitmap.width = 2;
    bitmap.height = 2;
    bitmap.bitsPerPixel = 1;
    bitmap.bits = indexed;
    bitmap.bytesPerLine = 1;
    const DibPalette colors = {kBlack, kWhite};
    ASSERT_EQ(image.CreateFromBitmap(bitmap, &colors), 1);
    EXPECT_EQ(image.BitCount(), 1);
    ASSERT_EQ(image.ConvertTo24Bit(), 1);
    expectPixel(image, 0, 0, 255, 255, 255);
    expectPixel(image, 1, 0, 0, 0, 0);

    bitmap.bits = nullptr;
    EXPECT_EQ(image.CreateFromBitmap(bitmap, nullptr), 0);
    EXPECT_FALSE(image.IsEmpty()); // a failed capture leaves the image as it was
}
