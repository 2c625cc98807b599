#include "image/dib_image.h"
#include "image/png_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CDibImage image;
    LoadPngData(std::span(data, size), image);
    return 0;
}
