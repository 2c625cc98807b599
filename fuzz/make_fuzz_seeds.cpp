// Writes seed files for the fuzzers into a folder per target (DIR/bmp, DIR/video and so on):
// bitmaps in the header layouts, depths and compressions the reader takes, JPEG and PNG files of
// our own writers, uncompressed AVI files written byte by byte (a later start, dropped frames, no
// index), settings files, wildcard patterns, frame sizes and resampling sizes. scripts/fuzz adds
// the videos that the ffmpeg tool makes.
#include "image/dib_image.h"
#include "image/jpeg_codec.h"
#include "image/png_codec.h"
#include "support/bmp_builder.h"
#include "video/index_cache.h"
#include "video/raw_avi.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

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

void writeText(const std::filesystem::path& path, std::string_view text)
{
    writeFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

void writeVideos(const std::filesystem::path& dir)
{
    writeFile(dir / "plain.avi", rawAviBytes(makeRawAvi(4, 2, 3)));
    RawAvi later = makeRawAvi(3, 3, 4);
    later.start = 5;
    later.rate = 30000;
    later.scale = 1001;
    later.frames[2].clear(); // dropped
    writeFile(dir / "dropped.avi", rawAviBytes(later));
    RawAvi unindexed = makeRawAvi(2, 2, 3);
    unindexed.withIndex = false;
    writeFile(dir / "unindexed.avi", rawAviBytes(unindexed));
}

void writeSettings(const std::filesystem::path& dir)
{
    using namespace std::string_view_literals;
    // Section, key and value to write, each ended by a zero byte, then the file's text.
    writeText(dir / "empty.txt", "Option\0OPTION_JPEG\0"
                                 "2\0"sv);
    writeText(dir / "options.txt",
              "Option\0OPTION_JPEG_QUALITY\0"
              "80\0[Option]\nOPTION_EVERY_FRAME=0\n"
              "OPTION_JPEG=1\nOPTION_JPEG_QUALITY=75\nOPTION_SPEED=0\n\n[Viewer]\n"
              "ViewerPath=/usr/bin/viewer\n"sv);
    writeText(dir / "crlf.txt", "AVI\0TargetDir\0/home/a b/\0\xEF\xBB\xBF; comment\r\n"
                                "[ avi ]\r\n  targetdir = /old \r\n# note\r\nAviPath=/v.avi"sv);
    writeText(dir / "new-section.txt", "ScaleImage\0Scale\0-1\0[MergeImage]\nSrcDir=\n"
                                       "JpgQuality=95\n=orphan\nno key\n[ScaleImage"sv);
}

void writeWildcards(const std::filesystem::path& dir)
{
    using namespace std::string_view_literals;
    // The pattern, a zero byte, the name.
    writeText(dir / "star.txt", "*.jpg\0holiday 2003.JPG"sv);
    writeText(dir / "question.txt", "a?c*.b?p\0a\xC3\xA9"
                                    "c.bmp"sv);
    writeText(dir / "stars.txt", "*a*b*c*\0xxaxxbxxcxx"sv);
}

void writeSizes(const std::filesystem::path& dir)
{
    // Frames per second, then four bytes for each frame.
    std::vector<std::uint8_t> bitrate = {3};
    for (std::uint32_t size : {5000u, 5000u, 5000u, 0u, 70000u, 12u, 0xFFFFFFFFu})
        for (int shift = 0; shift < 32; shift += 8)
            bitrate.push_back(static_cast<std::uint8_t>(size >> shift));
    writeFile(dir / "bitrate" / "seconds.bin", bitrate);

    // Source and target sizes, two bytes each, then pixels.
    writeFile(dir / "resample" / "up.bin", {4, 0, 4, 0, 7, 0, 7, 0, 0, 85, 170, 255, 12, 200});
    writeFile(dir / "resample" / "down.bin", {200, 0, 150, 0, 3, 0, 2, 0, 9, 99, 250});
    writeFile(dir / "resample" / "flat.bin", {2, 0, 3, 0, 41, 0, 1, 0, 10, 20, 30});
}

// The part of a cache file after its key: a table of three packets, the middle one a B-frame.
void writeIndex(const std::filesystem::path& dir)
{
    std::vector<IndexEntry> entries(3);
    for (int i = 0; i < 3; ++i) {
        entries[i].timestamp = entries[i].dts = 3600 * i;
        entries[i].pts = 3600 * (i == 1 ? 2 : i == 2 ? 1 : 0);
        entries[i].position = 188 * i;
        entries[i].size = 1000 - 100 * static_cast<std::uint32_t>(i);
        entries[i].key = i == 0;
    }
    const IndexKey key{"/videos/clip.ts", 2049, 131, 1000000, 1700000000123456789};
    std::vector<std::uint8_t> bytes = EncodeIndex(key, entries);
    const std::vector<std::uint8_t> header = EncodeIndex(key, {});
    bytes.erase(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(header.size() - 12));
    bytes.resize(bytes.size() - 4);
    writeFile(dir / "table.bin", bytes);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds DIR\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    for (const char* kind :
         {"bmp", "jpeg", "png", "video", "ini", "wildcard", "bitrate", "resample", "index"})
        std::filesystem::create_directories(root / kind);
    writeBitmaps(root / "bmp");
    writeVideos(root / "video");
    writeIndex(root / "index");
    writeSettings(root / "ini");
    writeWildcards(root / "wildcard");
    writeSizes(root);
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
