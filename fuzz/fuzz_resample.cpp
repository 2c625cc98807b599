// The resampler with arbitrary sizes, up and down: ResizeImage into a destination of a given size
// and ResizeAndCrop to an exact size. Input: source width and height and target width and height
// (two bytes each, taken as 1 to 300), then the source's pixel bytes, repeated as needed.
#include "batch/resample/resize_image.h"
#include "fuzz_check.h"
#include "image/dib.h"
#include "image/dib_image.h"

#include <cstring>

namespace {

constexpr int kLargestSide = 300;
constexpr std::int64_t kLargestCover = std::int64_t(1) << 18;

int side(const std::uint8_t* bytes)
{
    return (bytes[0] | bytes[1] << 8) % kLargestSide + 1;
}

const std::uint8_t* pixel(const CDibImage& image, int x, int y)
{
    return image.PictureRow(y) + 3 * x;
}

bool samePixel(const CDibImage& a, int ax, int ay, const CDibImage& b, int bx, int by)
{
    return std::memcmp(pixel(a, ax, ay), pixel(b, bx, by), 3) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 9)
        return 0;
    const int width = side(data);
    const int height = side(data + 2);
    const int targetWidth = side(data + 4);
    const int targetHeight = side(data + 6);
    const std::uint8_t* pixels = data + 8;
    const std::size_t pixelBytes = size - 8;

    CDibImage source;
    FUZZ_CHECK(source.Create(width, height, 24) == 1);
    std::size_t next = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x)
            source.PictureRow(y)[x] = pixels[next++ % pixelBytes];

    CDibImage resized;
    FUZZ_CHECK(resized.Create(targetWidth, targetHeight, 24) == 1);
    ResizeImage(source, resized);
    // Interpolation puts the destination's corners on the source's; a source one pixel wide or
    // high is repeated by nearest neighbour, whose other direction is its own choice.
    if (width >= 2 && height >= 2) {
        FUZZ_CHECK(samePixel(resized, 0, 0, source, 0, 0));
        if (targetWidth >= 2 && targetHeight >= 2)
            FUZZ_CHECK(samePixel(resized, targetWidth - 1, targetHeight - 1, source, width - 1,
                                 height - 1));
    }
    if (pixelBytes == 3) {
        for (int y = 0; y < targetHeight; ++y)
            for (int x = 0; x < targetWidth; ++x)
                FUZZ_CHECK(std::memcmp(pixel(resized, x, y), pixels, 3) == 0);
    }

    // ResizeAndCrop first scales until the box is covered, one side exact; only an intermediate
    // image beyond what the program allocates (a long thin source) leaves no result.
    const double widthRatio = double(targetWidth) / width;
    const double heightRatio = double(targetHeight) / height;
    const bool wider = widthRatio > heightRatio;
    const auto coverWidth = wider ? targetWidth : std::int64_t(width * heightRatio + 0.5);
    const auto coverHeight = wider ? std::int64_t(height * widthRatio + 0.5) : targetHeight;
    const auto coverBytes = DibStride(coverWidth, 24) * coverHeight + kInfoHeaderSize;
    const bool fits = coverBytes <= static_cast<std::int64_t>(kMaxDibBytes);
    // A cover of a megapixel or more (a long thin source) takes the sanitized resampler long and
    // reaches no code that a smaller one misses; one beyond the limit is refused at once.
    if (fits && coverWidth * coverHeight > kLargestCover)
        return 0;
    CDibImage cropped;
    ResizeAndCrop(source, cropped, targetWidth, targetHeight);
    if (fits || !cropped.IsEmpty()) {
        FUZZ_CHECK(cropped.Width() == targetWidth && cropped.Height() == targetHeight);
        FUZZ_CHECK(cropped.BitCount() == 24);
    }
    return 0;
}
