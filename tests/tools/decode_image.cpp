// Decodes one image file through the engine and writes its pixels as top-down RGB, for comparing
// the readers with other decoders: decode_image IN OUT. Exit status 0 when the file loaded
// (result 1), 2 when the reader refused it, 3 when it returned 0 but left an image.

#include "image/dib_image.h"
#include "image/image_file_type.h"
#include "image/jpeg_codec.h"
#include "image/png_codec.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: decode_image IN OUT\n");
        return 64;
    }
    const std::string path = argv[1];
    CDibImage image;
    int result = 0;
    switch (GetImageFileType(path)) {
    case IMG_TYPE_JPEG:
        result = LoadJpeg(path, image);
        break;
    case IMG_TYPE_PNG:
        result = LoadPng(path, image);
        break;
    case IMG_TYPE_BMP:
        result = image.LoadBmp(path) && image.ConvertTo24Bit();
        break;
    default:
        return 64;
    }
    if (image.IsEmpty())
        return 2;
    std::ofstream out(argv[2], std::ios::binary);
    out << image.Width() << ' ' << image.Height() << '\n';
    for (int y = 0; y < image.Height(); ++y) {
        const std::uint8_t* row = image.PictureRow(y);
        for (int x = 0; x < image.Width(); ++x) {
            const char rgb[3] = {char(row[3 * x + 2]), char(row[3 * x + 1]), char(row[3 * x])};
            out.write(rgb, 3);
        }
    }
    return result ? 0 : 3;
}
