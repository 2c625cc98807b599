// A bitmap file as LoadBmp reads it, then the conversion every batch tool applies after it.
#include "image/bmp_decoder.h"
#include "image/dib_image.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    CDibImage image;
    if (image.Attach(DecodeBmp(std::span(data, size))))
        image.ConvertTo24Bit();
    return 0;
}
