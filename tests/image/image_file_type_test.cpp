#include "image/image_file_type.h"

#include "image/image_format.h"

#include <gtest/gtest.h>

TEST(ImageFileType, ClassifiesByExtensionIgnoringCase)
{
    EXPECT_EQ(GetImageFileType("/photos/photo.JPEG"), IMG_TYPE_JPEG);
    EXPECT_EQ(GetImageFileType("a.jpg"), IMG_TYPE_JPEG);
    EXPECT_EQ(GetImageFileType("a.Dib"), IMG_TYPE_BMP);
    EXPECT_EQ(GetImageFileType("a.BMP"), IMG_TYPE_BMP);
    EXPECT_EQ(GetImageFileType("a.png"), IMG_TYPE_PNG);
    EXPECT_EQ(GetImageFileType("a.zip"), IMG_TYPE_ZIP);
    EXPECT_EQ(GetImageFileType("a.rar"), IMG_TYPE_RAR);
    EXPECT_EQ(GetImageFileType("a.gif"), IMG_TYPE_GIF);
    EXPECT_EQ(GetImageFileType("a.ufo"), IMG_TYPE_UFO);
}

TEST(ImageFileType, OnlyTheLastDotOfTheFileNameCounts)
{
    EXPECT_EQ(GetImageFileType("/my.photos/photo"), IMG_TYPE_NONE);
    EXPECT_EQ(GetImageFileType("archive.tar.gz"), IMG_TYPE_NONE);
    EXPECT_EQ(GetImageFileType("frame.bmp.jpg"), IMG_TYPE_JPEG);
    EXPECT_EQ(GetImageFileType("noextension"), IMG_TYPE_NONE);
    EXPECT_EQ(GetImageFileType(""), IMG_TYPE_NONE);
    EXPECT_EQ(GetImageFileType("trailingdot."), IMG_TYPE_NONE);
}

TEST(ImageFormat, TheNumbersStoredForFormatsKeepTheirMeaning)
{
    // OPTION_JPEG in the settings file, and the batch tools' type lists.
    EXPECT_EQ(RecordedFormat(0), ImageFormat::Bmp);
    EXPECT_EQ(RecordedFormat(1), ImageFormat::Jpeg);
    EXPECT_EQ(RecordedFormat(2), ImageFormat::Png);
    EXPECT_EQ(RecordedFormat(3), ImageFormat::Bmp);
    EXPECT_EQ(RecordedFormat(-1), ImageFormat::Bmp);
    EXPECT_EQ(BatchFormat(0), ImageFormat::Jpeg);
    EXPECT_EQ(BatchFormat(1), ImageFormat::Bmp);
    EXPECT_EQ(BatchFormat(2), ImageFormat::Png);
    EXPECT_EQ(BatchFormat(-1), ImageFormat::Png);
    for (const ImageFormatInfo& info : imageFormats()) {
        EXPECT_EQ(RecordedFormat(RecordedFormatOption(info.format)), info.format);
        EXPECT_EQ(BatchFormat(BatchFormatIndex(info.format)), info.format);
    }
}
