// Writes seed files for the fuzzers into DIR/bmp, DIR/jpeg and DIR/png: bitmaps in the header
// layouts, depths and compressions the reader takes, and JPEG and PNG files of our own writers.
#include "image/dib_image.h"
#include "image/jpeg_codec.h"
#include "image/png_codec.h"
#include "support/bmp_builder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

BmpFileLayout paletteLayout(int bitCount, std::uint32_t compression,
                            std::vector<std::uint8_t> pixels)
{
    BmpFileLayout layout;
    layout.width = 5;
    layout.height = 3;
    layout.bitCount = bitCount;
    layout.compression = compression;
    layout.palette.resize(std::size_t(1) << bitCount);
    for (std::size_t i = 0; i < layout.palette.size(); ++i)
        layout.palette[i] = {std::uint8_t(i * 7), std::uint8_t(i * 13), std::uint8_t(i * 29), 0};
    layout.pixels = std::move(pixels);
    return layout;
}

void writeBitmaps(const std::filesystem::path& dir)
{
    int n = 0;
    auto emit = [&](const BmpFileLayout& layout) {
        writeFile(dir / ("seed" + std::to_string(n++) + ".bmp"), BuildBmpFile(layout));
    };
    for (int bits : {1, 2, 4, 8}) {
        const std::size_t stride = (5 * bits + 31) / 32 * 4;
        emit(paletteLayout(bits, 0, std::vector<std::uint8_t>(stride * 3, 0x5A)));
    }
    emit(paletteLayout(8, 1, {3, 1, 0, 3, 2, 3, 2, 0, 0, 0, 0, 2, 1, 1, 4, 7, 0, 1}));
    emit(paletteLayout(4, 2, {5, 0x12, 0, 0, 0, 4, 0x12, 0x34, 0, 1}));
    for (std::uint32_t header : {12u, 16u, 40u, 52u, 56u, 64u, 108u, 124u}) {
        BmpFileLayout layout;
        layout.headerSize = header;
        layout.width = 3;
        layout.height = header == 12 ? 2 : -2;
        layout.pixels.assign(24, 0x81);
        emit(layout);
    }
    for (int bits : {16, 32}) {
        BmpFileLayout layout;
        layout.headerSize = bits == 16 ? 40 : 124;
        layout.width = 3;
        layout.height = 2;
        layout.bitCount = bits;
        layout.compression = 3;
        layout.masks = bits == 16 ? std::vector<std::uint32_t>{0xF800, 0x07E0, 0x001F}
                                  : std::vector<std::uint32_t>{0xFF0000, 0xFF00, 0xFF, 0xFF000000};
        layout.pixels.assign(bits == 16 ? 16 : 24, 0xC3);
        emit(layout);
    }
}

CDibImage gradient(int width, int height)
{
    CDibImage image;
    image.Create(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x)
            image.PictureRow(y)[x] = static_cast<std::uint8_t>(x * 5 + y * 11);
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds DIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    for (const char* kind : {"bmp", "jpeg", "png"})
        std::filesystem::create_directories(root / kind);
    writeBitmaps(root / "bmp");
    const CDibImage small = gradient(17, 9);
    const CDibImage square = gradient(32, 32);
    SaveJpeg((root / "jpeg" / "q75.jpg").string(), small, 75);
    SaveJpeg((root / "jpeg" / "q5.jpg").string(), square, 5);
    SaveJpeg((root / "jpeg" / "q100.jpg").string(), square, 100);
    SavePng((root / "png" / "fast.png").string(), small, PngCompression::Fast);
    SavePng((root / "png" / "best.png").string(), square, PngCompression::Best);
    CDibImage bmp = gradient(7, 5);
    bmp.SaveBmp((root / "bmp" / "ours.bmp").string());
    return 0;
}
