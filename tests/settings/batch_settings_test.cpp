#include "settings/batch_settings.h"
#include "settings/ini_file.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

TEST(BatchSettings, SectionsKeepEveryKeyInOrderAndFallBackToTheDefaults)
{
    TempDir dir;
    CIniFile file(dir.path() / "clipmint.ini");
    const ScaleToolSettings defaults = LoadScaleToolSettings(file);
    EXPECT_EQ(defaults.jpegQuality, 95);
    EXPECT_EQ(defaults.sourceType, 1);
    EXPECT_EQ(defaults.targetType, 1);
    EXPECT_EQ(defaults.size, 0);
    EXPECT_EQ(defaults.deleteSources, 1);

    ScaleToolSettings scale;
    scale.sourceFolder = "/photos";
    scale.size = 4;
    ASSERT_TRUE(SaveScaleToolSettings(scale, file));
    AverageToolSettings average;
    average.targetFile = "/out/avg.jpg";
    average.autoNumber = 0;
    ASSERT_TRUE(SaveAverageToolSettings(average, file));
    EXPECT_EQ(ReadText(file.path()), "[ScaleImage]\nSrcDir=/photos\nTgtDir=\nJpgQuality=95\n"
                                     "SrcFile=1\nTgtFile=1\nScale=4\nDelSrc=1\n\n"
                                     "[MergeImage]\nSrcDir=\nTgtDir=/out/avg.jpg\nJpgQuality=95\n"
                                     "SrcFile=1\nResize800=1\nResize1024=1\nDelSrc=1\n"
                                     "NoSameFile=0\n");
    EXPECT_EQ(LoadAverageToolSettings(file).targetFile, "/out/avg.jpg");
    EXPECT_EQ(LoadAverageToolSettings(file).autoNumber, 0);

    // A negative integer leaves the default; a missing string key empties the field.
    WriteText(file.path(), "[ScaleImage]\nScale=-1\nJpgQuality=40\n");
    const ScaleToolSettings read = LoadScaleToolSettings(file);
    EXPECT_EQ(read.size, 0);
    EXPECT_EQ(read.jpegQuality, 40);
    EXPECT_EQ(read.sourceFolder, "");
}
