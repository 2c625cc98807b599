#include "settings/ini_file.h"

#include "support/faults.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <climits>
#include <utility>

#include <sys/stat.h>

namespace fs = std::filesystem;

TEST(SettingsIniFile, FirstWriteCreatesTheFileAndLongValuesComeBackWhole)
{
    TempDir dir;
    CIniFile ini(dir.path() / "Clipmint.ini");
    std::string path = "/home/j\xC3\xBCrgen/Bilder/";
    while (path.size() < 1000)
        path += "a folder with a long name/";

    ASSERT_TRUE(ini.writeString("AVI", "TargetDir", path));
    ASSERT_TRUE(WriteIniInt("AVI", "CurrentFrame", -12, ini));
    EXPECT_EQ(ReadText(ini.path()), "[AVI]\nTargetDir=" + path + "\nCurrentFrame=-12\n");
    EXPECT_EQ(ini.readString("AVI", "TargetDir", ""), path);
}

TEST(SettingsIniFile, WriteChangesOnlyItsOwnKey)
{
    TempDir dir;
    CIniFile ini(dir.path() / "Clipmint.ini");
    WriteText(ini.path(), "; written by hand\n"
                          "[AVI]\n"
                          "TargetDir = /old/frames   \n"
                          "AviPath=/videos/a.avi\n"
                          "\n"
                          "# the batch tools\n"
                          "[ScaleImage]\n"
                          "Scale=2\n"
                          "[Option]\n"
                          "OPTION_JPEG=1\n");

    ASSERT_TRUE(ini.writeString("AVI", "TargetDir", "/new/frames"));
    ASSERT_TRUE(WriteIniInt("AVI", "CurrentFrame", 40, ini));
    ASSERT_TRUE(WriteIniInt("ScaleImage", "DelSrc", 0, ini));
    ASSERT_TRUE(WriteIniInt("MergeImage", "SrcFile", 2, ini));
    EXPECT_EQ(ReadText(ini.path()), "; written by hand\n"
                                    "[AVI]\n"
                                    "TargetDir = /new/frames\n"
                                    "AviPath=/videos/a.avi\n"
                                    "CurrentFrame=40\n"
                                    "\n"
                                    "# the batch tools\n"
                                    "[ScaleImage]\n"
                                    "Scale=2\n"
                                    "DelSrc=0\n"
                                    "[Option]\n"
                                    "OPTION_JPEG=1\n"
                                    "\n"
                                    "[MergeImage]\n"
                                    "SrcFile=2\n");
}

TEST(SettingsIniFile, WriteKeepsLineEndingsByteOrderMarkAndUnfinishedLastLine)
{
    TempDir dir;
    CIniFile ini(dir.path() / "Clipmint.ini");
    WriteText(ini.path(), "\xEF\xBB\xBF[Option]\r\nOPTION_JPEG=2");
    EXPECT_EQ(ini.readInt("Option", "OPTION_JPEG", -1), 2);

    ASSERT_TRUE(WriteIniInt("Option", "OPTION_SPEED", 3, ini));
    ASSERT_TRUE(ini.writeString("Viewer", "ViewerPath", "/opt/view"));
    EXPECT_EQ(ReadText(ini.path()), "\xEF\xBB\xBF[Option]\r\nOPTION_JPEG=2\r\nOPTION_SPEED=3\r\n"
                                    "\r\n[Viewer]\r\nViewerPath=/opt/view\r\n");

    // A last line cut after its CR keeps its value when keys and sections follow it.
    for (const char* section : {"Option", "AVI"}) {
        WriteText(ini.path(), "[Option]\nOPTION_JPEG=2\r");
        ASSERT_TRUE(WriteIniInt(section, "CurrentFrame", 1, ini));
        EXPECT_EQ(ini.readString("Option", "OPTION_JPEG", ""), "2") << ReadText(ini.path());
    }
}

TEST(SettingsIniFile, ValuesKeepTheirOuterBlanksAndQuotes)
{
    TempDir dir;
    CIniFile ini(dir.path() / "Clipmint.ini");
    for (const std::string value :
         {" /a folder/ends with a blank ", "\tVI", "\"quoted\"", "\"", "\"half", "\"\"", ""}) {
        ASSERT_TRUE(ini.writeString("AVI", "TargetDir", value));
        EXPECT_EQ(ini.readString("AVI", "TargetDir", "?"), value) << ReadText(ini.path());
    }
    // A value that a person put in quotes is read without them.
    WriteText(ini.path(), "[Viewer]\nViewerPath = \"/opt/my viewer\" \n");
    EXPECT_EQ(ini.readString("Viewer", "ViewerPath", ""), "/opt/my viewer");
}

TEST(SettingsIniFile, ReadsTheFirstMatchingKeyOfTheFirstMatchingSection)
{
    TempDir dir;
    CIniFile ini(dir.path() / "Clipmint.ini");
    WriteText(ini.path(), "Scale=9\n"
                          "[ scaleimage ]\n"
                          ";Scale=8\n"
                          "#Scale=7\n"
                          "=6\n"
                          "no key here\n"
                          "  sCALE  =  5  \n"
                          "Scale=4\n"
                          "SrcDir=/a=b;c#d\n"
                          "[ScaleImage]\n"
                          "DelSrc=1\n");
    EXPECT_EQ(ini.readInt("ScaleImage", "Scale", -1), 5);
    EXPECT_EQ(ini.readString("SCALEIMAGE", "srcdir", ""), "/a=b;c#d");
    EXPECT_EQ(ini.readInt("ScaleImage", "DelSrc", -1), -1);

    // The write lands where the read looks, without adding a second key.
    ASSERT_TRUE(WriteIniInt("ScaleImage", "SCALE", 1, ini));
    EXPECT_EQ(ini.readInt("ScaleImage", "Scale", -1), 1);
    EXPECT_NE(ReadText(ini.path()).find("  sCALE  =  1\nScale=4\n"), std::string::npos);
}

TEST(SettingsIniFile, IntegerIsTheLeadingSignedDecimalNumber)
{
    const std::pair<std::string, int> cases[] = {
        {"42", 42},
        {"-3", -3},
        {"+7", 7},
        {"12abc", 12},
        {"abc", 0},
        {"-", 0},
        {"0x10", 0},
        {"- 4", 0},
        {"", 99},
        {"2147483647", INT_MAX},
        {"99999999999", INT_MAX},
        {"-2147483648", INT_MIN},
        {"-99999999999", INT_MIN},
    };
    TempDir dir;
    CIniFile ini(dir.path() / "Clipmint.ini");
    for (const auto& [value, expected] : cases) {
        ASSERT_TRUE(ini.writeString("Option", "Value", value));
        EXPECT_EQ(ini.readInt("Option", "Value", 99), expected) << "value \"" << value << "\"";
    }
    ASSERT_TRUE(ini.writeString("AVI", "BeginFrame", "-1"));
    EXPECT_FALSE(ini.readNonNegativeInt("AVI", "BeginFrame"));
    ASSERT_TRUE(ini.writeString("AVI", "BeginFrame", "0"));
    EXPECT_EQ(ini.readNonNegativeInt("AVI", "BeginFrame"), 0);
}

TEST(SettingsIniFile, RefusesWhatWouldNotReadBackAsWritten)
{
    TempDir dir;
    CIniFile ini(dir.path() / "Clipmint.ini");
    WriteText(ini.path(), "[AVI]\nAviPath=/a.avi\n");
    EXPECT_FALSE(ini.writeString("AVI", "AviPath", "/a.avi\n[Option]"));
    EXPECT_FALSE(ini.writeString("AVI", "Avi=Path", "x"));
    EXPECT_FALSE(ini.writeString("AVI]", "AviPath", "x"));
    EXPECT_EQ(ReadText(ini.path()), "[AVI]\nAviPath=/a.avi\n");
}

TEST(SettingsIniFile, WriteIntoAMissingFolderFails)
{
    TempDir dir;
    WriteText(dir.path() / "plain", "not a folder");
    for (const fs::path& path :
         {dir.path() / "missing" / "Clipmint.ini", dir.path() / "plain" / "Clipmint.ini"}) {
        CIniFile ini(path);
        EXPECT_FALSE(WriteIniInt("Option", "OPTION_JPEG", 1, ini)) << path;
        ASSERT_TRUE(ini.writeError()) << path;
        EXPECT_EQ(ini.writeError()->path, path.string());
        EXPECT_EQ(ini.readInt("Option", "OPTION_JPEG", -1), -1);
    }
    EXPECT_FALSE(fs::exists(dir.path() / "missing"));
}

TEST(SettingsIniFile, FailedWriteLeavesTheOldFileWhole)
{
    TempDir dir;
    CIniFile ini(dir.path() / "Clipmint.ini");
    const std::string old = "[AVI]\nAviPath=/" + std::string(4000, 'v') + ".avi\n";
    WriteText(ini.path(), old);

    // A file size limit below the file's size makes writing the new file fail halfway, as a
    // full disk would.
    const bool written = [&] {
        const FileSizeLimit limit(1024);
        return WriteIniInt("AVI", "CurrentFrame", 1, ini);
    }();

    EXPECT_FALSE(written);
    EXPECT_EQ(ReadText(ini.path()), old);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(SettingsIniFile, WriteKeepsTheFilesLinkAndPermissions)
{
    TempDir dir;
    const fs::path real = dir.path() / "real.ini";
    WriteText(real, "[Option]\nOPTION_JPEG=1\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(real, dir.path() / "Clipmint.ini");

    CIniFile ini(dir.path() / "Clipmint.ini");
    ASSERT_TRUE(WriteIniInt("Option", "OPTION_JPEG", 2, ini));
    EXPECT_TRUE(fs::is_symlink(ini.path()));
    EXPECT_EQ(ReadText(real), "[Option]\nOPTION_JPEG=2\n");
    EXPECT_EQ(fs::status(real).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(SettingsIniFile, AReadOnlyFileOrFolderRefusesTheWriteAndKeepsWhatIsThere)
{
    TempDir dir;
    fs::permissions(dir.path(), fs::perms::all);
    const fs::path readOnly = dir.path() / "read-only.ini";
    const std::string old = "[Option]\nOPTION_JPEG=1\n";
    WriteText(readOnly, old);
    fs::permissions(readOnly,
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const fs::path lockedFolder = dir.path() / "locked";
    fs::create_directory(lockedFolder);
    fs::permissions(lockedFolder, fs::perms::owner_all | fs::perms::group_read |
                                      fs::perms::group_exec | fs::perms::others_read |
                                      fs::perms::others_exec);

    const std::optional<bool> refused = RunUnprivileged([&] {
        for (const fs::path& path : {readOnly, lockedFolder / "Clipmint.ini"}) {
            CIniFile ini(path);
            if (WriteIniInt("Option", "OPTION_JPEG", 2, ini) || !ini.writeError() ||
                ini.writeError()->systemError != EACCES)
                return false;
        }
        return true;
    });
    if (!refused)
        GTEST_SKIP() << "no unprivileged user to write as";
    EXPECT_TRUE(*refused);
    EXPECT_EQ(ReadText(readOnly), old);
    EXPECT_TRUE(fs::is_empty(lockedFolder));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 2);
}

TEST(SettingsIniFile, APathThatIsNoSettingsFileIsLeftAloneAndTheDefaultsApply)
{
    TempDir dir;
    const fs::path pipe = dir.path() / "pipe.ini";
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const fs::path device = dir.path() / "zero.ini";
    fs::create_symlink("/dev/zero", device);
    const fs::path large = dir.path() / "large.ini";
    const std::string tooLarge = "[Option]\nOPTION_JPEG=1\n" + std::string(kMostIniFileBytes, ';');
    WriteText(large, tooLarge);

    for (const fs::path& path : {pipe, device, large}) {
        SCOPED_TRACE(path.string());
        CIniFile ini(path);
        EXPECT_EQ(ini.readInt("Option", "OPTION_JPEG", -1), -1);
        EXPECT_NE(ini.readRefusal().find(path.string() + " is left alone: it is"),
                  std::string::npos)
            << ini.readRefusal();
        EXPECT_FALSE(WriteIniInt("Option", "OPTION_JPEG", 2, ini));
    }
    EXPECT_TRUE(fs::is_fifo(pipe));
    EXPECT_TRUE(fs::is_symlink(device));
    EXPECT_EQ(ReadText(large), tooLarge);

    // A file that is fine again is read again.
    fs::resize_file(large, 0);
    CIniFile ini(large);
    EXPECT_EQ(ini.readInt("Option", "OPTION_JPEG", -1), -1);
    EXPECT_EQ(ini.readRefusal(), "");
}
