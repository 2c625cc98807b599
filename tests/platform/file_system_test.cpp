#include "platform/file_system.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST(FileSystem, TargetFoldersAreCreatedWhole)
{
    TempDir dir;
    EXPECT_EQ(MakeSureDirectoryPathExists(dir.file("a/b/c")), "");
    EXPECT_TRUE(fs::is_directory(dir.file("a/b/c")));
    EXPECT_EQ(MakeSureDirectoryPathExists(dir.file("a/b/c")), "");
    WriteBytes(dir.file("file"), {1});
    EXPECT_NE(MakeSureDirectoryPathExists(dir.file("file/sub")), "");
    // A name longer than the file system takes is refused with the reason, not thrown.
    EXPECT_EQ(MakeSureDirectoryPathExists(dir.file(std::string(300, 'n'))), "File name too long");
}
