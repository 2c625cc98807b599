#include "image/dib_image.h"
#include "image/jpeg_codec.h"
#include "image/png_codec.h"
#include "platform/exception.h"
#include "support/batch_fixture.h"
#include "support/faults.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

// Runs save with files limited to a few kilobytes, so that writing fails halfway.
bool failsHalfway(const std::function<bool()>& save)
{
    const FileSizeLimit limit(4096);
    try {
        return !save();
    } catch (const CException&) {
        return true;
    }
}

} // namespace

TEST(SaveFailure, AFailedSaveKeepsTheOldFileAndLeavesNoPartOfTheNewOne)
{
    TempDir dir;
    CDibImage small = NoiseImage(4, 4);
    CDibImage large = NoiseImage(200, 200);
    const std::vector<std::pair<std::string, std::function<bool(CDibImage&, const std::string&)>>>
        writers = {
            {"a.bmp",
             [](CDibImage& image, const std::string& path) { return image.SaveBmp(path) == 1; }},
            {"a.jpg", [](CDibImage& image,
                         const std::string& path) { return SaveJpeg(path, image, 100) == 1; }},
            {"a.png",
             [](CDibImage& image, const std::string& path) {
                 return SavePng(path, image, PngCompression::Fast) == 1;
             }},
        };
    for (const auto& [name, save] : writers) {
        SCOPED_TRACE(name);
        const std::string path = dir.file(name);
        ASSERT_TRUE(save(small, path));
        const auto old = ReadBytes(path);
        EXPECT_TRUE(failsHalfway([&] { return save(large, path); }));
        EXPECT_EQ(ReadBytes(path), old);

        const std::string fresh = dir.file("new-" + name);
        EXPECT_TRUE(failsHalfway([&] { return save(large, fresh); }));
        EXPECT_FALSE(std::filesystem::exists(fresh));
    }
    // Nothing but the three old files is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              3);

    // A good save over an old file keeps its permissions.
    const std::string path = dir.file("a.png");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::owner_write |
                                           std::filesystem::perms::others_read);
    ASSERT_EQ(SavePng(path, large, PngCompression::Fast), 1);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms::owner_read |
                                                               std::filesystem::perms::owner_write |
                                                               std::filesystem::perms::others_read);
    CDibImage loaded;
    EXPECT_EQ(LoadPng(path, loaded), 1);
    EXPECT_EQ(loaded.Width(), 200);
}
