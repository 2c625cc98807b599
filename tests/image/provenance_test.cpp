#include "image/dib_image.h"
#include "image/image_format.h"
#include "image/image_provenance.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <map>

#include <jpeglib.h>
#include <png.h>

namespace {

// The text chunks of a PNG file, keyword to text, as libpng reads them; "!" when it can't.
std::map<std::string, std::string> pngTexts(const std::string& path)
{
    std::map<std::string, std::string> texts;
    FILE* file = std::fopen(path.c_str(), "rb");
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        texts["!"] = "";
    } else {
        png_init_io(png, file);
        png_read_info(png, info);
        png_textp text = nullptr;
        const int count = png_get_text(png, info, &text, nullptr);
        for (int i = 0; i < count; ++i)
            texts[text[i].key] = std::string(
                text[i].text, text[i].compression > 0 ? text[i].itxt_length : text[i].text_length);
    }
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return texts;
}

// The comments of a JPEG file, as libjpeg reads them.
std::vector<std::string> jpegComments(const std::string& path)
{
    jpeg_decompress_struct cinfo{};
    jpeg_error_mgr errors{};
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    FILE* file = std::fopen(path.c_str(), "rb");
    jpeg_stdio_src(&cinfo, file);
    jpeg_save_markers(&cinfo, JPEG_COM, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);
    std::vector<std::string> comments;
    for (jpeg_saved_marker_ptr marker = cinfo.marker_list; marker; marker = marker->next)
        comments.emplace_back(reinterpret_cast<const char*>(marker->data), marker->data_length);
    jpeg_destroy_decompress(&cinfo);
    std::fclose(file);
    return comments;
}

} // namespace

// A name with a folder, a control character, a byte that is no UTF-8 and far too many letters
// comes out as its base name, escaped and cut at a character, in both formats; without a
// provenance neither file carries any text.
TEST(ImageProvenance, GoesIntoPngTextAndAJpegCommentSafelyAndOnlyWhenGiven)
{
    TempDir dir;
    CDibImage image;
    ASSERT_TRUE(image.Create(3, 2, 24));
    std::string longName = "odd\x01na\xFFme-";
    for (int i = 0; i < 600; ++i)
        longName += "\xC3\xA9"; // é
    const ImageProvenance provenance{"/home/someone/videos/" + longName + ".avi", 42,
                                     "00:00:01.680"};
    std::string source = "odd\\x01na\\xFFme-";
    while (source.size() < kMaxProvenanceSourceBytes)
        source += "\xC3\xA9";

    ASSERT_EQ(SaveImageFile(ImageFormat::Png, dir.file("a.png"), image, 75, PngCompression::Fast,
                            &provenance),
              1);
    EXPECT_EQ(pngTexts(dir.file("a.png")),
              (std::map<std::string, std::string>{
                  {"Source", source}, {"Frame", "42"}, {"Time", "00:00:01.680"}}));
    ASSERT_EQ(SaveImageFile(ImageFormat::Jpeg, dir.file("a.jpg"), image, 75, PngCompression::Fast,
                            &provenance),
              1);
    EXPECT_EQ(jpegComments(dir.file("a.jpg")),
              std::vector<std::string>{"Source: " + source + "\nFrame: 42\nTime: 00:00:01.680"});
    CDibImage loaded;
    EXPECT_EQ(LoadImageFile(ImageFormat::Png, dir.file("a.png"), loaded), 1);
    EXPECT_EQ(LoadImageFile(ImageFormat::Jpeg, dir.file("a.jpg"), loaded), 1);

    ASSERT_EQ(SaveImageFile(ImageFormat::Png, dir.file("b.png"), image, 75), 1);
    ASSERT_EQ(SaveImageFile(ImageFormat::Jpeg, dir.file("b.jpg"), image, 75), 1);
    EXPECT_TRUE(pngTexts(dir.file("b.png")).empty());
    EXPECT_TRUE(jpegComments(dir.file("b.jpg")).empty());
}
