#include "image/byte_order.h"
#include "image/dib_image.h"
#include "image/png_codec.h"
#include "platform/file_replacement.h"
#include "support/faults.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <filesystem>

#include <png.h>

namespace {

struct PngPicture
{
    int width = 1;
    int height = 1;
    int bitDepth = 8;
    int colorType = PNG_COLOR_TYPE_RGB;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<png_byte> transparency;
    std::vector<std::vector<png_byte>> rows; // packed as the file stores them
};

// Writes a PNG with libpng directly, so that the reader meets files it did not write itself.
void writePng(const std::string& path, const PngPicture& picture)
{
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        FAIL() << "libpng could not write the test picture";
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, picture.width, picture.height, picture.bitDepth, picture.colorType,
                 picture.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!picture.palette.empty())
        png_set_PLTE(png, info, picture.palette.data(), static_cast<int>(picture.palette.size()));
    if (!picture.transparency.empty())
        png_set_tRNS(png, info, picture.transparency.data(),
                     static_cast<int>(picture.transparency.size()), nullptr);
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (const auto& row : picture.rows)
        rows.push_back(const_cast<png_bytep>(row.data()));
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

std::vector<int> pixelAt(const CDibImage& image, int x, int y)
{
    const std::uint8_t* p = image.PictureRow(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

CDibImage loadPicture(const PngPicture& picture)
{
    TempDir dir;
    writePng(dir.file("in.png"), picture);
    CDibImage image;
    EXPECT_EQ(LoadPng(dir.file("in.png"), image), 1);
    return image;
}

} // namespace

TEST(PngCodec, ExpandsPalettesAndMakesTransparentEntriesBlack)
{
    PngPicture picture;
    picture.width = 4;
    picture.bitDepth = 2;
    picture.colorType = PNG_COLOR_TYPE_PALETTE;
    picture.palette = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {10, 20, 30}};
    picture.transparency = {255, 0}; // entry 1 fully transparent
    picture.rows = {{0b00011011}};
    const CDibImage image = loadPicture(picture);
    ASSERT_EQ(image.Width(), 4);
    EXPECT_EQ(pixelAt(image, 0, 0), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(pixelAt(image, 1, 0), (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(pixelAt(image, 2, 0), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(pixelAt(image, 3, 0), (std::vector<int>{30, 20, 10}));
}

TEST(PngCodec, CompositesSixteenBitAlphaOverBlack)
{
    PngPicture picture;
    picture.width = 3;
    picture.bitDepth = 16;
    picture.colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    picture.rows = {{0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00, 0xFF, 0xFF,   // red, half green, opaque
                     0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00,   // white, transparent
                     0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x80, 0x00}}; // white, half
    const CDibImage image = loadPicture(picture);
    EXPECT_EQ(pixelAt(image, 0, 0), (std::vector<int>{0, 128, 255}));
    EXPECT_EQ(pixelAt(image, 1, 0), (std::vector<int>{0, 0, 0}));
    const auto half = pixelAt(image, 2, 0);
    EXPECT_NEAR(half[0], 128, 1);
    EXPECT_EQ(half[0], half[1]);
    EXPECT_EQ(half[1], half[2]);
}

TEST(PngCodec, GreyBecomesThreeEqualChannels)
{
    PngPicture picture;
    picture.width = 2;
    picture.colorType = PNG_COLOR_TYPE_GRAY_ALPHA;
    picture.rows = {{200, 255, 200, 0}};
    CDibImage image = loadPicture(picture);
    EXPECT_EQ(pixelAt(image, 0, 0), (std::vector<int>{200, 200, 200}));
    EXPECT_EQ(pixelAt(image, 1, 0), (std::vector<int>{0, 0, 0}));

    picture.colorType = PNG_COLOR_TYPE_GRAY;
    picture.bitDepth = 1;
    picture.width = 3;
    picture.rows = {{0b10100000}};
    image = loadPicture(picture);
    EXPECT_EQ(pixelAt(image, 0, 0), (std::vector<int>{255, 255, 255}));
    EXPECT_EQ(pixelAt(image, 1, 0), (std::vector<int>{0, 0, 0}));
}

TEST(PngCodec, InterlacedLoadsLikeItsPlainTwin)
{
    PngPicture picture;
    picture.width = 13;
    picture.height = 11;
    for (int y = 0; y < picture.height; ++y) {
        std::vector<png_byte> row;
        for (int x = 0; x < picture.width; ++x) {
            row.push_back(static_cast<png_byte>(x * 19));
            row.push_back(static_cast<png_byte>(y * 23));
            row.push_back(static_cast<png_byte>(x * y));
        }
        picture.rows.push_back(row);
    }
    const CDibImage plain = loadPicture(picture);
    picture.interlaced = true;
    const CDibImage interlaced = loadPicture(picture);
    EXPECT_EQ(plain.Block(), interlaced.Block());
    EXPECT_EQ(pixelAt(plain, 12, 10), (std::vector<int>{120, 230, 228}));
}

TEST(PngCodec, SaveWritesEightBitRgbTopRowFirst)
{
    TempDir dir;
    CDibImage image;
    image.Create(3, 2, 24);
    image.PictureRow(0)[0] = 1; // top-left pixel: blue 1, green 2, red 3
    image.PictureRow(0)[1] = 2;
    image.PictureRow(0)[2] = 3;
    ASSERT_EQ(SavePng(dir.file("out.png"), image, PngCompression::Fast), 1);

    const auto bytes = ReadBytes(dir.file("out.png"));
    ASSERT_GT(bytes.size(), 33u);
    EXPECT_EQ(std::string(bytes.begin() + 12, bytes.begin() + 16), "IHDR");
    auto be32 = [&](size_t at) {
        return (bytes[at] << 24) | (bytes[at + 1] << 16) | (bytes[at + 2] << 8) | bytes[at + 3];
    };
    EXPECT_EQ(be32(16), 3);
    EXPECT_EQ(be32(20), 2);
    EXPECT_EQ(bytes[24], 8); // bit depth
    EXPECT_EQ(bytes[25], 2); // RGB
    EXPECT_EQ(bytes[28], 0); // not interlaced
    // Only IHDR, IDAT and IEND.
    size_t at = 8;
    std::vector<std::string> chunks;
    while (at + 8 <= bytes.size()) {
        chunks.emplace_back(bytes.begin() + at + 4, bytes.begin() + at + 8);
        at += 12 + be32(at);
    }
    EXPECT_EQ(chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));

    // The first row of the file is the top picture row in R, G, B order.
    png_image raw{};
    raw.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&raw, dir.file("out.png").c_str()));
    raw.format = PNG_FORMAT_RGB;
    std::vector<png_byte> pixels(PNG_IMAGE_SIZE(raw));
    ASSERT_TRUE(png_image_finish_read(&raw, nullptr, pixels.data(), 0, nullptr));
    EXPECT_EQ((std::vector<int>{pixels[0], pixels[1], pixels[2]}), (std::vector<int>{3, 2, 1}));

    CDibImage again;
    ASSERT_EQ(LoadPng(dir.file("out.png"), again), 1);
    EXPECT_EQ(again.Block(), image.Block());

    ASSERT_EQ(SavePng(dir.file("best.png"), image, PngCompression::Best), 1);
    CDibImage best;
    ASSERT_EQ(LoadPng(dir.file("best.png"), best), 1);
    EXPECT_EQ(best.Block(), image.Block());
}

TEST(PngCodec, RefusesWhatIsNotAPng)
{
    TempDir dir;
    WriteBytes(dir.file("text.png"), {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g'});
    CDibImage image;
    EXPECT_EQ(LoadPng(dir.file("text.png"), image), 0);
    EXPECT_TRUE(image.IsEmpty());
    WriteBytes(dir.file("empty.png"), {});
    EXPECT_EQ(LoadPng(dir.file("empty.png"), image), 0);
    EXPECT_EQ(LoadPng(dir.file("missing.png"), image), 0);
    EXPECT_EQ(LoadPng(dir.path().string(), image), 0);
    EXPECT_TRUE(image.IsEmpty());
}

TEST(PngCodec, EveryCutOfAFileEndsCleanly)
{
    TempDir dir;
    CDibImage image;
    image.Create(9, 7, 24);
    for (int y = 0; y < 7; ++y)
        image.PictureRow(y)[y] = static_cast<std::uint8_t>(40 * y);
    ASSERT_EQ(SavePng(dir.file("out.png"), image, PngCompression::Best), 1);
    const auto whole = ReadBytes(dir.file("out.png"));
    for (size_t length = 1; length < whole.size(); ++length) {
        CDibImage cut;
        EXPECT_EQ(LoadPngData(std::span(whole.data(), length), cut), 0) << length;
    }
    CDibImage huge;
    std::vector<std::uint8_t> claim = whole;
    claim[16] = 0x00; // width 0x00ffffff: far beyond what this program holds
    claim[17] = 0xFF;
    claim[18] = 0xFF;
    EXPECT_EQ(LoadPngData(claim, huge), 0);
}

TEST(PngCodec, SaveFailuresAreReported)
{
    TempDir dir;
    CDibImage image;
    image.Create(16, 16, 24);
    {
        // The reason is left in errno for the caller's message; the library says nothing.
        const FileSizeLimit full(16);
        testing::internal::CaptureStderr();
        CFileReplacement file(dir.file("full.png"));
        EXPECT_EQ(SavePng(file, image, PngCompression::Fast), 0);
        EXPECT_EQ(errno, EFBIG);
        CDibImage cut;
        EXPECT_EQ(LoadPngData(std::vector<std::uint8_t>(8, 0x89), cut), 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("full.png")));
    EXPECT_EQ(SavePng(dir.file("missing/out.png"), image, PngCompression::Fast), 0);
    CDibImage empty;
    EXPECT_EQ(SavePng(dir.file("empty.png"), empty, PngCompression::Fast), 0);
}
