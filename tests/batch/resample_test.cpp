#include "batch/resample/ipl_resize.h"
#include "batch/resample/resize_image.h"
#include "image/dib_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <random>

namespace {

using Sample = std::function<double(int)>;

CDibImage makeImage(int width, int height, const std::function<int(int x, int y, int c)>& value)
{
    CDibImage image;
    EXPECT_EQ(image.Create(width, height, 24), 1);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                image.PictureRow(y)[3 * x + c] = static_cast<std::uint8_t>(value(x, y, c));
    return image;
}

CDibImage randomImage(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    return makeImage(width, height, [&](int, int, int) { return int(random() % 256); });
}

int at(const CDibImage& image, int x, int y, int c)
{
    return image.PictureRow(y)[3 * x + c];
}

CDibImage resized(const CDibImage& source, int width, int height)
{
    CDibImage target;
    EXPECT_EQ(target.Create(width, height, 24), 1);
    ResizeImage(source, target);
    return target;
}

// The resampler written out plainly in double precision, one output value at a time.
double sourcePosition(int sourceLength, int length, int i)
{
    return length > 1 ? i * (sourceLength - 1.0) / (length - 1) : 0.0;
}

double cubic(const Sample& f, int n, double x)
{
    int j = static_cast<int>(std::floor(x + 0.00001));
    double d = 2;
    if (j == n - 1) {
        j = n - 3;
    } else {
        j = j == 0 ? 1 : j == n - 2 ? n - 3 : j;
        d = x - j;
    }
    const double f0 = f(j - 1), f1 = f(j), f2 = f(j + 1), f3 = f(j + 2);
    const double s = d + 1;
    return f0 + s * (f1 - f0) + s * (s - 1) / 2 * (f2 - 2 * f1 + f0) +
           s * (s - 1) * (s - 2) / 6 * (f3 - 3 * f2 + 3 * f1 - f0);
}

double linear(const Sample& f, int n, double x, int shift)
{
    int j = static_cast<int>(std::floor(x + 0.00001));
    int w = static_cast<int>(std::floor((x - j) * 16384 + 0.00001));
    if (j == n - 1) {
        j = n - 2;
        w = 16384;
    }
    return std::floor((f(j) * (16384 - w) + f(j + 1) * w) / double(1 << shift));
}

// The unclamped value of one output channel.
double referenceValue(const CDibImage& s, int width, int height, int x, int y, int c)
{
    const int sw = s.Width(), sh = s.Height();
    const double px = sourcePosition(sw, width, x), py = sourcePosition(sh, height, y);
    if (sw < 2 || sh < 2) {
        const auto nearest = [](double p) { return static_cast<int>(std::floor(p + 0.5)); };
        return at(s, nearest(px), nearest(py), c);
    }
    if (sw < 4 || sh < 4) {
        const Sample across = [&](int row) {
            return linear([&](int col) { return at(s, col, row, c); }, sw, px, 8);
        };
        return linear(across, sh, py, 20);
    }
    const Sample across = [&](int row) {
        return cubic([&](int col) { return at(s, col, row, c); }, sw, px);
    };
    return cubic(across, sh, py) + 0.00001;
}

int referenceByte(const CDibImage& s, int width, int height, int x, int y, int c)
{
    return static_cast<int>(
        std::clamp(std::floor(referenceValue(s, width, height, x, y, c)), 0.0, 255.0));
}

void expectNearReference(const CDibImage& source, int width, int height)
{
    const CDibImage target = resized(source, width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c)
                ASSERT_NEAR(at(target, x, y, c), referenceByte(source, width, height, x, y, c), 1)
                    << source.Width() << "x" << source.Height() << " -> " << width << "x" << height
                    << " at " << x << "," << y << "," << c;
}

} // namespace

TEST(Resample, FollowsThePlainFormulasForEverySizeAndDirection)
{
    const int sides[] = {1, 2, 3, 4, 5, 9};
    const int targets[] = {1, 2, 3, 5, 8, 13};
    unsigned seed = 1;
    for (int sw : sides)
        for (int sh : sides) {
            const CDibImage source = randomImage(sw, sh, seed++);
            for (int width : targets)
                for (int height : targets)
                    expectNearReference(source, width, height);
        }
    expectNearReference(randomImage(37, 23, 7), 100, 61);
    expectNearReference(randomImage(100, 61, 8), 37, 23);
    expectNearReference(randomImage(203, 6, 9), 5, 150);
}

TEST(Resample, ReproducesSamplesAndTruncatesTheHalvesBetweenThem)
{
    const int ramp[] = {0, 85, 170, 255};
    const CDibImage source =
        makeImage(4, 4, [&](int x, int, int c) { return c == 1 ? ramp[x] : 0; });
    const CDibImage target = resized(source, 7, 4);
    for (int y = 0; y < 4; ++y) {
        std::vector<int> row;
        for (int x = 0; x < 7; ++x)
            row.push_back(at(target, x, y, 1));
        EXPECT_EQ(row, (std::vector<int>{0, 42, 85, 127, 170, 212, 255}));
    }

    const CDibImage random = randomImage(4, 4, 3);
    const CDibImage square = resized(random, 7, 7);
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(at(square, 0, 0, c), at(random, 0, 0, c));
        EXPECT_EQ(at(square, 6, 0, c), at(random, 3, 0, c));
        EXPECT_EQ(at(square, 0, 6, c), at(random, 0, 3, c));
        EXPECT_EQ(at(square, 6, 6, c), at(random, 3, 3, c));
    }
}

TEST(Resample, KeepsAConstantColourExact)
{
    const int colour[] = {7, 128, 255};
    const CDibImage source = makeImage(13, 9, [&](int, int, int c) { return colour[c]; });
    for (const auto& [width, height] : {std::pair{31, 17}, std::pair{5, 4}}) {
        const CDibImage target = resized(source, width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                for (int c = 0; c < 3; ++c)
                    ASSERT_EQ(at(target, x, y, c), colour[c]);
    }
}

TEST(Resample, ClampsTheOvershootAtSharpEdges)
{
    const CDibImage source = makeImage(8, 4, [](int x, int, int) { return x < 4 ? 0 : 255; });
    const CDibImage target = resized(source, 29, 4);
    int below = 0, above = 0;
    for (int x = 0; x < 29; ++x) {
        const double value = referenceValue(source, 29, 4, x, 0, 0);
        if (value < 0) {
            ++below;
            EXPECT_EQ(at(target, x, 0, 0), 0);
        } else if (value >= 256) {
            ++above;
            EXPECT_EQ(at(target, x, 0, 0), 255);
        }
    }
    EXPECT_GT(below, 0);
    EXPECT_GT(above, 0);
}

TEST(Resample, NarrowSourcesFallBackToLinearAndToRepetition)
{
    const int ramp[] = {0, 100, 255};
    const CDibImage three = makeImage(3, 4, [&](int x, int, int) { return ramp[x]; });
    const CDibImage wider = resized(three, 5, 4);
    for (int y = 0; y < 4; ++y) {
        std::vector<int> row;
        for (int x = 0; x < 5; ++x)
            row.push_back(at(wider, x, y, 2));
        EXPECT_EQ(row, (std::vector<int>{0, 50, 100, 177, 255}));
    }

    const CDibImage one = makeImage(1, 5, [](int, int y, int c) { return 40 * y + c; });
    const CDibImage repeated = resized(one, 4, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 4; ++x)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(at(repeated, x, y, c), 40 * y + c);
}

TEST(Resample, ResizeAndCropCoversTheTargetAndCutsTheOverhangEqually)
{
    const CDibImage wide = randomImage(1000, 500, 4);
    CDibImage cropped;
    ResizeAndCrop(wide, cropped, 800, 600);
    ASSERT_EQ(cropped.Width(), 800);
    ASSERT_EQ(cropped.Height(), 600);
    const CDibImage covering = resized(wide, 1200, 600);
    for (int y = 0; y < 600; ++y)
        ASSERT_EQ(std::memcmp(cropped.PictureRow(y), covering.PictureRow(y) + 3 * 200, 3 * 800), 0);

    const CDibImage same = randomImage(640, 480, 5);
    CDibImage scaled;
    ResizeAndCrop(same, scaled, 800, 600);
    EXPECT_EQ(scaled.Block(), resized(same, 800, 600).Block());
}

TEST(Resample, RefusedCallsWriteNothingAndSayWhy)
{
    CDibImage source = randomImage(6, 5, 6);
    CDibImage target;
    ASSERT_EQ(target.Create(9, 7, 24), 1);
    bool cloned = true;
    const ImageHeaderPtr from = iplTranslateDIB({source.Header(), source.Block().size()}, cloned);
    const ImageHeaderPtr to = iplTranslateDIB({target.Header(), target.Block().size()}, cloned);
    ASSERT_TRUE(from && to);
    EXPECT_FALSE(cloned);
    EXPECT_EQ(from->origin, IPL_ORIGIN_BL);
    EXPECT_EQ(from->imageData, source.PixelData());

    EXPECT_EQ(iplResize(*from, *from, 1, 1, 1, 1, IPL_INTER_CUBIC).text,
              "This function isn`t in-plase function");
    EXPECT_EQ(iplResize(*from, *to, 0, 6, 7, 5, IPL_INTER_CUBIC).text, "xDst <= 0 || xSrc <= 0");
    EXPECT_EQ(iplResize(*from, *to, 9, 6, 7, 5, IPL_INTER_SUPER).text,
              "interpolate != IPL_INTER_NN && interpolate != IPL_INTER_LINEAR && "
              "interpolate != IPL_INTER_CUBIC");
    ImageHeader floats = *to;
    floats.depth = IPL_DEPTH_32F;
    EXPECT_EQ(iplResize(*from, floats, 9, 6, 7, 5, IPL_INTER_CUBIC).text,
              "srcImage->depth != dstImage->depth");
    ImageHeader shared = *to;
    shared.imageData = from->imageData;
    EXPECT_EQ(iplResize(*from, shared, 9, 6, 7, 5, IPL_INTER_CUBIC).code, IplStatusCode::InPlace);
    EXPECT_EQ(target.Block(), resized(CDibImage{}, 9, 7).Block());

    ASSERT_EQ(source.Create(6, 5, 32), 1);
    EXPECT_FALSE(iplTranslateDIB({source.Header(), source.Block().size()}, cloned));
}

TEST(Resample, ColumnsPastTheSourcesLastRepeatIt)
{
    // A fraction that covers only part of the destination: 6 source columns map onto 3.
    CDibImage source = randomImage(6, 5, 10);
    CDibImage target;
    ASSERT_EQ(target.Create(9, 5, 24), 1);
    bool cloned = false;
    const ImageHeaderPtr from = iplTranslateDIB({source.Header(), source.Block().size()}, cloned);
    const ImageHeaderPtr to = iplTranslateDIB({target.Header(), target.Block().size()}, cloned);
    ASSERT_TRUE(iplResize(*from, *to, 3, 6, 5, 5, IPL_INTER_CUBIC).ok());
    for (int y = 0; y < 5; ++y)
        for (int x = 2; x < 9; ++x)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(at(target, x, y, c), at(source, 5, y, c));
}
