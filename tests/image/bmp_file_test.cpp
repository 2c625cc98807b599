#include "image/bmp_decoder.h"
#include "image/bmp_file.h"
#include "image/byte_order.h"
#include "image/dib_image.h"
#include "platform/exception.h"
#include "support/bmp_builder.h"
#include "support/faults.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer runtime's allocation hooks; GCC ships no header that declares them.
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*,
                                                                            std::size_t),
                                                         void (*freeHook)(const volatile void*));
#endif

namespace {

void expectPixel(const CDibImage& image, int x, int y, int blue, int green, int red)
{
    const std::uint8_t* p = image.PictureRow(y) + 3 * x;
    EXPECT_EQ((std::vector<int>{p[0], p[1], p[2]}), (std::vector<int>{blue, green, red}))
        << "pixel " << x << "," << y;
}

// Loads bitmap file bytes the way the batch tools do: LoadBmp, then ConvertTo24Bit.
bool loadAs24Bit(const std::vector<std::uint8_t>& bytes, CDibImage& image)
{
    TempDir dir;
    WriteBytes(dir.file("in.bmp"), bytes);
    return image.LoadBmp(dir.file("in.bmp")) == 1 && image.ConvertTo24Bit() == 1;
}

// A 2 x 2 picture, top row red then green, bottom row blue then white, as 24-bit rows.
BmpFileLayout rgb24()
{
    BmpFileLayout layout;
    layout.width = 2;
    layout.height = 2;
    layout.pixels = {255, 0, 0,   255, 255, 255, 0, 0,  // bottom row: blue, white, padding
                     0,   0, 255, 0,   255, 0,   0, 0}; // top row: red, green, padding
    return layout;
}

void expectRgbSquare(const CDibImage& image)
{
    expectPixel(image, 0, 0, 0, 0, 255);
    expectPixel(image, 1, 0, 0, 255, 0);
    expectPixel(image, 0, 1, 255, 0, 0);
    expectPixel(image, 1, 1, 255, 255, 255);
}

} // namespace

TEST(BmpFile, ExtensionDecidesWhatIsReadAndWritten)
{
    TempDir dir;
    CDibImage image;
    image.Create(2, 2, 24);
    EXPECT_EQ(image.SaveBmp(dir.file("a.BMP")), 1);
    EXPECT_EQ(image.SaveBmp(dir.file("b.Dib")), 1);
    EXPECT_EQ(image.SaveBmp(dir.file("c.bmp.jpg")), 0);
    EXPECT_EQ(image.SaveBmp(dir.file("noextension")), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("c.bmp.jpg")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("noextension")));

    std::filesystem::copy_file(dir.file("a.BMP"), dir.file("copy.png"));
    CDibImage loaded;
    EXPECT_EQ(loaded.LoadBmp(dir.file("b.Dib")), 1);
    CDibImage untouched;
    untouched.Create(3, 3, 24);
    EXPECT_EQ(untouched.LoadBmp(dir.file("copy.png")), 0);
    EXPECT_EQ(untouched.LoadBmp(dir.file("missing.bmp")), 0);
    std::filesystem::create_directory(dir.file("folder.bmp"));
    EXPECT_EQ(untouched.LoadBmp(dir.file("folder.bmp")), 0);
    EXPECT_FALSE(untouched.IsEmpty()) << "a refused path leaves the image as it was";
}

TEST(BmpFile, SaveWritesTheFileHeaderAndPackedDib)
{
    TempDir dir;
    CDibImage image;
    image.Create(3, 2, 24);
    image.PictureRow(0)[0] = 0x11;
    ASSERT_EQ(image.SaveBmp(dir.file("out.bmp")), 1);
    const auto bytes = ReadBytes(dir.file("out.bmp"));
    ASSERT_EQ(bytes.size(), 14u + 40 + 24);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(ReadLE32(&bytes[2]), 78u);
    EXPECT_EQ(ReadLE32(&bytes[6]), 0u);
    EXPECT_EQ(ReadLE32(&bytes[10]), 54u);
    EXPECT_EQ(ReadLE32(&bytes[14 + 20]), 24u);
    EXPECT_EQ(ReadLE32(image.Header() + 20), 24u) << "the block's image size is updated too";
    EXPECT_EQ(bytes[54 + 12], 0x11) << "the top picture row is the last row in the file";

    // Saving over a larger file replaces it entirely.
    CDibImage small;
    small.Create(1, 1, 24);
    ASSERT_EQ(small.SaveBmp(dir.file("out.bmp")), 1);
    EXPECT_EQ(ReadBytes(dir.file("out.bmp")).size(), 14u + 40 + 4);
}

TEST(BmpFile, SaveAndLoadKeepPaletteImages)
{
    BmpFileLayout layout;
    layout.width = 3;
    layout.height = 1;
    layout.bitCount = 8;
    layout.palette.resize(256);
    layout.palette[2] = {10, 20, 30, 0};
    layout.pixels = {2, 0, 2, 0};
    TempDir dir;
    WriteBytes(dir.file("in.bmp"), BuildBmpFile(layout));
    CDibImage image;
    ASSERT_EQ(image.LoadBmp(dir.file("in.bmp")), 1);
    EXPECT_EQ(image.BitCount(), 8);
    ASSERT_EQ(image.SaveBmp(dir.file("out.bmp")), 1);
    const auto bytes = ReadBytes(dir.file("out.bmp"));
    EXPECT_EQ(ReadLE32(&bytes[10]), 14u + 40 + 1024);

    CDibImage again;
    ASSERT_EQ(again.LoadBmp(dir.file("out.bmp")), 1);
    ASSERT_EQ(again.ConvertTo24Bit(), 1);
    expectPixel(again, 0, 0, 10, 20, 30);
    expectPixel(again, 1, 0, 0, 0, 0);
}

TEST(BmpFile, LoadRefusesShortAndForeignFiles)
{
    CDibImage image;
    auto file = BuildBmpFile(rgb24());
    file.resize(13);
    image.Create(1, 1, 24);
    EXPECT_FALSE(loadAs24Bit(file, image));
    EXPECT_TRUE(image.IsEmpty()) << "a failed read empties the image";

    file = BuildBmpFile(rgb24());
    file[1] = 'A';
    EXPECT_FALSE(loadAs24Bit(file, image));
    EXPECT_FALSE(loadAs24Bit({'h', 'e', 'l', 'l', 'o'}, image));
    EXPECT_FALSE(loadAs24Bit({}, image));
}

TEST(BmpFile, LoadRefusesFilesShorterThanTheyClaim)
{
    BmpFileLayout big = rgb24();
    big.width = 30000;
    big.height = 30000;
    CDibImage image;
    EXPECT_FALSE(loadAs24Bit(BuildBmpFile(big), image));

    // Every cut of a good file is either refused or read whole; never read past the data.
    const auto whole = BuildBmpFile(rgb24());
    for (size_t length = 0; length < whole.size(); ++length) {
        const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + length);
        const DibBlock block = DecodeBmp(cut);
        // Only the missing padding of the last row may be forgiven.
        if (length < whole.size() - 2) {
            EXPECT_TRUE(block.empty()) << length;
        }
    }

    BmpFileLayout zero = rgb24();
    zero.width = 0;
    EXPECT_TRUE(DecodeBmp(BuildBmpFile(zero)).empty());
    zero = rgb24();
    zero.height = 0;
    EXPECT_TRUE(DecodeBmp(BuildBmpFile(zero)).empty());
    BmpFileLayout badDepth = rgb24();
    badDepth.bitCount = 7;
    EXPECT_TRUE(DecodeBmp(BuildBmpFile(badDepth)).empty());
}

#if defined(__SANITIZE_ADDRESS__)
namespace {

std::atomic<std::size_t> g_largestAllocation{0};

void recordAllocation(const volatile void*, std::size_t size)
{
    std::size_t largest = g_largestAllocation.load();
    while (size > largest && !g_largestAllocation.compare_exchange_weak(largest, size)) {
    }
}

void ignoreFree(const volatile void*) {}

} // namespace

TEST(BmpFile, SmallFileClaimingAHugePictureAllocatesNothingBig)
{
    BmpFileLayout claim = rgb24();
    claim.width = 16000; // 768 MB of pixels, below the size limit
    claim.height = 16000;
    claim.pixels.resize(100);
    const std::vector<std::uint8_t> file = BuildBmpFile(claim);
    static const int installed =
        __sanitizer_install_malloc_and_free_hooks(recordAllocation, ignoreFree);
    ASSERT_TRUE(installed);
    g_largestAllocation = 0;
    EXPECT_TRUE(DecodeBmp(file).empty());
    EXPECT_LT(g_largestAllocation.load(), 1u << 20);
}
#endif

TEST(BmpFile, ReadsTheHeadersOfOtherWriters)
{
    CDibImage image;
    ASSERT_TRUE(loadAs24Bit(BuildBmpFile(rgb24()), image));
    expectRgbSquare(image);

    // Top-down rows.
    BmpFileLayout topDown = rgb24();
    topDown.height = -2;
    std::rotate(topDown.pixels.begin(), topDown.pixels.begin() + 8, topDown.pixels.end());
    ASSERT_TRUE(loadAs24Bit(BuildBmpFile(topDown), image));
    expectRgbSquare(image);

    // The pixel offset is honoured: a gap after the header is skipped.
    BmpFileLayout gap = rgb24();
    gap.gap = 10;
    ASSERT_TRUE(loadAs24Bit(BuildBmpFile(gap), image));
    expectRgbSquare(image);

    // Version 4 and 5 headers and the short ones between.
    for (std::uint32_t size : {16u, 52u, 56u, 64u, 108u, 124u}) {
        SCOPED_TRACE(size);
        BmpFileLayout layout = rgb24();
        layout.headerSize = size;
        ASSERT_TRUE(loadAs24Bit(BuildBmpFile(layout), image));
        expectRgbSquare(image);
    }

    BmpFileLayout unknown = rgb24();
    unknown.headerSize = 41;
    EXPECT_FALSE(loadAs24Bit(BuildBmpFile(unknown), image));
}

TEST(BmpFile, ReadsTheCoreHeaderWithThreeByteColours)
{
    BmpFileLayout layout;
    layout.headerSize = 12;
    layout.width = 2;
    layout.height = 1;
    layout.bitCount = 1;
    layout.palette = {{0, 0, 0, 0}, {1, 2, 3, 0}};
    layout.pixels = {0x40, 0, 0, 0};
    CDibImage image;
    ASSERT_TRUE(loadAs24Bit(BuildBmpFile(layout), image));
    expectPixel(image, 0, 0, 0, 0, 0);
    expectPixel(image, 1, 0, 1, 2, 3);
}

TEST(BmpFile, ShortColourTablesAndIndicesBeyondThemReadAsBlack)
{
    BmpFileLayout layout;
    layout.width = 3;
    layout.height = 1;
    layout.bitCount = 8;
    layout.colorsUsed = 2;
    layout.palette = {{9, 9, 9, 0}, {7, 7, 7, 0}};
    layout.pixels = {0, 1, 200, 0};
    CDibImage image;
    ASSERT_TRUE(loadAs24Bit(BuildBmpFile(layout), image));
    expectPixel(image, 0, 0, 9, 9, 9);
    expectPixel(image, 1, 0, 7, 7, 7);
    expectPixel(image, 2, 0, 0, 0, 0);

    // A colour count beyond what the depth allows is cut to it.
    layout.colorsUsed = 100000;
    ASSERT_TRUE(loadAs24Bit(BuildBmpFile(layout), image));
    expectPixel(image, 1, 0, 7, 7, 7);
}

TEST(BmpFile, DecodesBitFields)
{
    // 16-bit 5-6-5 in a version 5 header: pure red, pure green, pure blue, white.
    BmpFileLayout layout;
    layout.headerSize = 124;
    layout.width = 4;
    layout.height = 1;
    layout.bitCount = 16;
    layout.compression = 3;
    layout.masks = {0xF800, 0x07E0, 0x001F, 0};
    layout.pixels = {0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00, 0xFF, 0xFF};
    CDibImage image;
    ASSERT_TRUE(loadAs24Bit(BuildBmpFile(layout), image));
    expectPixel(image, 0, 0, 0, 0, 255);
    expectPixel(image, 1, 0, 0, 255, 0);
    expectPixel(image, 2, 0, 255, 0, 0);
    expectPixel(image, 3, 0, 255, 255, 255);

    // 32-bit masks after a 40-byte header, alpha ignored.
    BmpFileLayout wide;
    wide.width = 1;
    wide.height = 1;
    wide.bitCount = 32;
    wide.compression = 3;
    wide.masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    wide.pixels = {30, 20, 10, 0x80};
    ASSERT_TRUE(loadAs24Bit(BuildBmpFile(wide), image));
    expectPixel(image, 0, 0, 30, 20, 10);

    // 10-bit channels are scaled down, not cut.
    wide.masks = {0x3FF00000, 0x000FFC00, 0x000003FF};
    const std::uint32_t pixel = (1023u << 20) | (512u << 10) | 0u;
    wide.pixels = {std::uint8_t(pixel), std::uint8_t(pixel >> 8), std::uint8_t(pixel >> 16),
                   std::uint8_t(pixel >> 24)};
    ASSERT_TRUE(loadAs24Bit(BuildBmpFile(wide), image));
    expectPixel(image, 0, 0, 0, 128, 255);
}

TEST(BmpFile, DecodesRunLengthEncoding)
{
    BmpFileLayout layout;
    layout.width = 6;
    layout.height = 3;
    layout.bitCount = 8;
    layout.compression = 1;
    layout.palette = {{0, 0, 0, 0}, {1, 1, 1, 0}, {2, 2, 2, 0}, {3, 3, 3, 0}};
    layout.pixels = {
        3,   1,          // bottom row: three of colour 1
        0,   3, 2, 3, 2, // then absolute 2, 3, 2 (padded to even)
        0,   0,          // end of line
        0,   2, 1, 1,    // delta: one right, one up, to the top row
        200, 3,          // a run past the end of the row is cut
        0,   1,          // end of bitmap
    };
    layout.pixels.insert(layout.pixels.begin() + 7, 0); // padding of the absolute run
    CDibImage image;
    ASSERT_TRUE(loadAs24Bit(BuildBmpFile(layout), image));
    const int bottom[] = {1, 1, 1, 2, 3, 2};
    for (int x = 0; x < 6; ++x)
        expectPixel(image, x, 2, bottom[x], bottom[x], bottom[x]);
    for (int x = 0; x < 6; ++x)
        expectPixel(image, x, 1, 0, 0, 0);
    expectPixel(image, 0, 0, 0, 0, 0);
    for (int x = 1; x < 6; ++x)
        expectPixel(image, x, 0, 3, 3, 3);

    // Four bits: a run alternates its two nibbles.
    BmpFileLayout four;
    four.width = 5;
    four.height = 1;
    four.bitCount = 4;
    four.compression = 2;
    four.palette = layout.palette;
    four.pixels = {5, 0x12, 0, 1};
    ASSERT_TRUE(loadAs24Bit(BuildBmpFile(four), image));
    const int expected[] = {1, 2, 1, 2, 1};
    for (int x = 0; x < 5; ++x)
        expectPixel(image, x, 0, expected[x], expected[x], expected[x]);

    // A stream cut short keeps what it decoded; one that claims more than the file holds is
    // refused, and so is a top-down one.
    four.pixels = {3, 0x11};
    ASSERT_TRUE(loadAs24Bit(BuildBmpFile(four), image));
    four.imageSize = 100;
    EXPECT_FALSE(loadAs24Bit(BuildBmpFile(four), image));
    four.imageSize = 0;
    four.height = -1;
    EXPECT_FALSE(loadAs24Bit(BuildBmpFile(four), image));
}

TEST(BmpFile, SixteenBitsWithoutMasksStayFiveFiveFive)
{
    BmpFileLayout layout;
    layout.width = 1;
    layout.height = 1;
    layout.bitCount = 16;
    layout.pixels = {0xFF, 0x7F, 0, 0};
    CDibImage image;
    ASSERT_TRUE(loadAs24Bit(BuildBmpFile(layout), image));
    expectPixel(image, 0, 0, 248, 248, 248);
}

TEST(BmpFile, WriteFailuresThrowWithTheSystemsText)
{
    TempDir dir;
    CDibImage image;
    image.Create(64, 64, 24);
    try {
        const FileSizeLimit full(4096);
        image.SaveBmp(dir.file("full.bmp"));
        FAIL() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_NE(e.ErrorText().find("File too large"), std::string::npos) << e.ErrorText();
        char buffer[8];
        EXPECT_TRUE(e.GetErrorMessage(buffer, sizeof buffer));
        EXPECT_EQ(std::string(buffer), e.ErrorText().substr(0, 7));
    }
    EXPECT_EQ(image.SaveBmp(dir.file("missing/folder/out.bmp")), 0);
}
