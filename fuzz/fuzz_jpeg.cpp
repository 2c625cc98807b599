#include "image/dib_image.h"
#include "image/jpeg_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CDibImage image;
    LoadJpegData(std::span(data, size), image);
    return 0;
}
