#include "image/dib_image.h"
#include "image/jpeg_codec.h"
#include "support/faults.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// Writes a JPEG with libjpeg directly, in colour spaces this program never writes itself.
void writeJpeg(const std::string& path, int width, int height, J_COLOR_SPACE space,
               const std::vector<JSAMPLE>& pixels, bool adobeMarker = false)
{
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = space == JCS_GRAYSCALE ? 1 : space == JCS_CMYK ? 4 : 3;
    cinfo.in_color_space = space;
    jpeg_set_defaults(&cinfo);
    cinfo.write_Adobe_marker = adobeMarker;
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const size_t rowBytes = size_t(width) * cinfo.input_components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(&pixels[cinfo.next_scanline * rowBytes]);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::fclose(file);
}

std::vector<int> pixelAt(const CDibImage& image, int x, int y)
{
    const std::uint8_t* p = image.PictureRow(y) + 3 * x;
    return {p[0], p[1], p[2]};
}

void expectNear(const std::vector<int>& actual, const std::vector<int>& expected, int tolerance)
{
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], tolerance) << "channel " << i;
}

// A 16 x 16 picture: red top half, blue bottom half.
CDibImage redOverBlue()
{
    CDibImage image;
    image.Create(16, 16, 24);
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            std::uint8_t* p = image.PictureRow(y) + 3 * x;
            p[y < 8 ? 2 : 0] = 255;
        }
    }
    return image;
}

} // namespace

TEST(JpegCodec, RoundTripKeepsOrientationAndChannelOrder)
{
    TempDir dir;
    const CDibImage image = redOverBlue();
    ASSERT_EQ(SaveJpeg(dir.file("out.jpg"), image, 95), 1);
    CDibImage loaded;
    ASSERT_EQ(LoadJpeg(dir.file("out.jpg"), loaded), 1);
    ASSERT_EQ(loaded.Width(), 16);
    ASSERT_EQ(loaded.Height(), 16);
    EXPECT_EQ(loaded.BitCount(), 24);
    // The top picture row is the last row in memory: blue, green, red bytes 0, 0, 255.
    expectNear(pixelAt(loaded, 0, 0), {0, 0, 255}, 3);
    expectNear(pixelAt(loaded, 15, 15), {255, 0, 0}, 3);
}

TEST(JpegCodec, GreyLoadsAsThreeEqualChannels)
{
    TempDir dir;
    std::vector<JSAMPLE> grey(8 * 8);
    for (size_t i = 0; i < grey.size(); ++i)
        grey[i] = static_cast<JSAMPLE>(i * 4);
    writeJpeg(dir.file("grey.jpg"), 8, 8, JCS_GRAYSCALE, grey);
    CDibImage image;
    ASSERT_EQ(LoadJpeg(dir.file("grey.jpg"), image), 1);
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            const auto p = pixelAt(image, x, y);
            EXPECT_EQ(p[0], p[1]);
            EXPECT_EQ(p[1], p[2]);
            EXPECT_NEAR(p[0], (y * 8 + x) * 4, 4);
        }
    }
}

TEST(JpegCodec, CmykIsConvertedToRgb)
{
    TempDir dir;
    // Plain CMYK: no ink is white, full cyan is (0, 255, 255), full black ink is black.
    const std::vector<JSAMPLE> inks = {0, 0, 0, 0, 255, 0, 0, 0, 0, 0, 0, 255, 0, 255, 255, 0};
    std::vector<JSAMPLE> pixels;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            pixels.insert(pixels.end(), inks.begin() + 4 * (x / 2), inks.begin() + 4 * (x / 2) + 4);
    writeJpeg(dir.file("cmyk.jpg"), 8, 8, JCS_CMYK, pixels);
    CDibImage image;
    ASSERT_EQ(LoadJpeg(dir.file("cmyk.jpg"), image), 1);
    expectNear(pixelAt(image, 0, 0), {255, 255, 255}, 4);
    expectNear(pixelAt(image, 2, 0), {255, 255, 0}, 4);
    expectNear(pixelAt(image, 4, 0), {0, 0, 0}, 4);
    expectNear(pixelAt(image, 6, 0), {0, 0, 255}, 4);

    // Adobe's files store the inks inverted.
    std::vector<JSAMPLE> inverted = pixels;
    for (JSAMPLE& v : inverted)
        v = static_cast<JSAMPLE>(255 - v);
    writeJpeg(dir.file("adobe.jpg"), 8, 8, JCS_CMYK, inverted, true);
    CDibImage adobe;
    ASSERT_EQ(LoadJpeg(dir.file("adobe.jpg"), adobe), 1);
    expectNear(pixelAt(adobe, 2, 0), {255, 255, 0}, 4);
    expectNear(pixelAt(adobe, 6, 0), {0, 0, 255}, 4);
}

TEST(JpegCodec, ATruncatedFileDecodesToItsEnd)
{
    TempDir dir;
    CDibImage noisy;
    noisy.Create(96, 64, 24);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 96 * 3; ++x)
            noisy.PictureRow(y)[x] = static_cast<std::uint8_t>((x * 7919 + y * 104729) >> 3);
    ASSERT_EQ(SaveJpeg(dir.file("whole.jpg"), noisy, 90), 1);
    const auto whole = ReadBytes(dir.file("whole.jpg"));
    CDibImage image;
    const std::vector<std::uint8_t> cut(whole.begin(), whole.end() - whole.size() / 4);
    EXPECT_EQ(LoadJpegData(cut, image), 1);
    EXPECT_EQ(image.Width(), 96);

    // Every cut ends with a result, never a crash; cuts inside the headers fail.
    for (size_t length = 0; length < whole.size(); ++length) {
        CDibImage part;
        const int result = LoadJpegData(std::span(whole.data(), length), part);
        if (length < 20) {
            EXPECT_EQ(result, 0) << length;
        }
    }
}

TEST(JpegCodec, ForeignFilesGiveZeroAndLeaveTheImageEmpty)
{
    TempDir dir;
    WriteBytes(dir.file("text.jpg"), {'h', 'e', 'l', 'l', 'o', '\n'});
    CDibImage image;
    EXPECT_EQ(LoadJpeg(dir.file("text.jpg"), image), 0);
    EXPECT_TRUE(image.IsEmpty());
    EXPECT_EQ(LoadJpeg(dir.file("missing.jpg"), image), 0);
    WriteBytes(dir.file("empty.jpg"), {});
    EXPECT_EQ(LoadJpeg(dir.file("empty.jpg"), image), 0);
    EXPECT_TRUE(image.IsEmpty());

    // A header asking for 60000 x 60000 pixels in a few bytes is refused, not allocated.
    ASSERT_EQ(SaveJpeg(dir.file("small.jpg"), redOverBlue(), 90), 1);
    auto bytes = ReadBytes(dir.file("small.jpg"));
    for (size_t i = 0; i + 8 < bytes.size(); ++i) {
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) { // start of frame
            bytes[i + 5] = 0xEA;
            bytes[i + 6] = 0x60;
            bytes[i + 7] = 0xEA;
            bytes[i + 8] = 0x60;
            break;
        }
    }
    EXPECT_EQ(LoadJpegData(bytes, image), 0);
}

TEST(JpegCodec, QualityIsClampedByTheLibrary)
{
    TempDir dir;
    const CDibImage image = redOverBlue();
    ASSERT_EQ(SaveJpeg(dir.file("q0.jpg"), image, 0), 1);
    ASSERT_EQ(SaveJpeg(dir.file("q1.jpg"), image, 1), 1);
    ASSERT_EQ(SaveJpeg(dir.file("q150.jpg"), image, 150), 1);
    ASSERT_EQ(SaveJpeg(dir.file("q100.jpg"), image, 100), 1);
    EXPECT_EQ(ReadBytes(dir.file("q0.jpg")), ReadBytes(dir.file("q1.jpg")));
    EXPECT_EQ(ReadBytes(dir.file("q150.jpg")), ReadBytes(dir.file("q100.jpg")));
    // Quality 1 without forced baseline keeps quantisation values above 255: 16-bit tables.
    const auto low = ReadBytes(dir.file("q1.jpg"));
    bool sixteenBitTable = false;
    for (size_t i = 0; i + 4 < low.size(); ++i) {
        if (low[i] == 0xFF && low[i + 1] == 0xDB && (low[i + 4] >> 4) == 1)
            sixteenBitTable = true;
    }
    EXPECT_TRUE(sixteenBitTable);
}

TEST(JpegCodec, WriteErrorsThrowTheLibrarysText)
{
    TempDir dir;
    const CDibImage image = redOverBlue();
    try {
        const FileSizeLimit full(16);
        SaveJpeg(dir.file("full.jpg"), image, 75);
        FAIL() << "no exception";
    } catch (const CJPEGException& e) {
        EXPECT_EQ(e.ErrorText(), "Output file write error --- out of disk space?");
        EXPECT_EQ(e.Code(), JERR_FILE_WRITE);
    }
    EXPECT_EQ(SaveJpeg(dir.file("missing/out.jpg"), image, 75), 0);
    CDibImage empty;
    EXPECT_EQ(SaveJpeg(dir.file("empty.jpg"), empty, 75), 0);
}
