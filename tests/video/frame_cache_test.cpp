// The frame cache's budget, whole or smaller for one picture.

#include "video/frame_cache.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/frame.h>
}

namespace {

DecodedPicturePtr grey(int number)
{
    auto picture = std::make_shared<DecodedPicture>();
    picture->frame.reset(av_frame_alloc());
    picture->frame->format = AV_PIX_FMT_GRAY8;
    picture->frame->width = 64;
    picture->frame->height = 64;
    EXPECT_EQ(av_frame_get_buffer(picture->frame.get(), 0), 0);
    picture->number = number;
    return picture;
}

} // namespace

// Playing keeps a trail of pictures within a smaller budget: the pictures used longest ago make
// room until the trail fits, and a picture kept later may fill the cache's whole budget again.
TEST(FrameCache, AKeepWithinASmallerBudgetDropsThePicturesUsedLongestAgo)
{
    const std::size_t bytes = grey(0)->bytes();
    FrameCache cache(bytes * 10);
    for (int frame = 0; frame < 6; ++frame)
        cache.keep(grey(frame));
    cache.keep(grey(6), bytes * 3);
    EXPECT_EQ(cache.size(), 3u);
    EXPECT_TRUE(cache.contains(4) && cache.contains(5) && cache.contains(6));
    cache.keep(grey(7));
    EXPECT_EQ(cache.size(), 4u);
}
