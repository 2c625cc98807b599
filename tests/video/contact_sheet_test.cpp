#include "video/contact_sheet.h"

#include <gtest/gtest.h>

TEST(ContactSheetTest, SpreadsTheCellsEvenlyOverTheFrames)
{
    SheetGrid grid;
    grid.columns = 2;
    grid.rows = 2;
    // The middle of each quarter of 100 frames, counted from the first.
    EXPECT_EQ(SheetFrameChoice(0, 99, {}, grid), (std::vector<int>{12, 37, 62, 87}));
    EXPECT_EQ(SheetFrameChoice(10, 109, {}, grid), (std::vector<int>{22, 47, 72, 97}));
    // A video shorter than the grid fills fewer cells, one a frame.
    EXPECT_EQ(SheetFrameChoice(5, 7, {}, grid), (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(SheetFrameChoice(0, 3, {}, grid), (std::vector<int>{0, 1, 2, 3}));
    // The default 4 x 6 over an hour at 25 frames a second: every 3750th frame.
    const std::vector<int> hour = SheetFrameChoice(0, 89999, {}, SheetGrid{});
    ASSERT_EQ(hour.size(), 24u);
    EXPECT_EQ(hour.front(), 1875);
    EXPECT_EQ(hour[1] - hour[0], 3750);
    EXPECT_EQ(hour.back(), 88125);
}

TEST(ContactSheetTest, TakesKeyFramesOnlyWhenAskedTo)
{
    SheetGrid grid;
    grid.columns = 3;
    grid.rows = 1;
    grid.frames = SheetFrames::KeyFrames;
    const std::vector<int> keys{0, 50, 100, 150, 200, 250, 300, 350, 400};
    EXPECT_EQ(SheetFrameChoice(0, 449, keys, grid), (std::vector<int>{50, 200, 350}));
    EXPECT_EQ(SheetFrameChoice(0, 449, {0, 250}, grid), (std::vector<int>{0, 250}));
    EXPECT_TRUE(SheetFrameChoice(0, 449, {}, grid).empty());
}
