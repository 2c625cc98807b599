#include "settings/settings.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace fs = std::filesystem;

namespace {

// The recording options, which the picture options follow in the table.
std::array<int, 4> loadedOptions(const fs::path& iniPath)
{
    CSettings settings(iniPath);
    settings.LoadOptions();
    return {settings.GetOption(OPTION_EVERY_FRAME), settings.GetOption(OPTION_JPEG),
            settings.GetOption(OPTION_JPEG_QUALITY), settings.GetOption(OPTION_SPEED)};
}

// Sets or unsets an environment variable for one test.
class ScopedEnvironment
{
public:
    ScopedEnvironment(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name))
            m_old = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedEnvironment() { m_old ? setenv(m_name, m_old->c_str(), 1) : unsetenv(m_name); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};

} // namespace

TEST(SettingsOptions, NoFileGivesTheDefaults)
{
    TempDir dir;
    CSettings settings(dir.path() / "Clipmint.ini");
    settings.LoadViewerPath();
    EXPECT_EQ(loadedOptions(settings.iniFile().path()), (std::array{0, 0, 75, 0}));
    EXPECT_EQ(settings.viewerPath(), "");
    EXPECT_FALSE(fs::exists(settings.iniFile().path()));
    settings.LoadOptions();
    EXPECT_EQ(PictureOptionsOf(settings), PictureOptions{});
}

TEST(SettingsOptions, PictureOptionsKeepTheirDefaultsForMissingOrNegativeValues)
{
    TempDir dir;
    const fs::path ini = dir.path() / "Clipmint.ini";
    WriteText(ini, "[Option]\nColorMatrix=2\nToneMap=0\nKeepRotation=1\nDeinterlace=-1\n"
                   "DisplayAspect=1\n");
    CSettings settings(ini);
    settings.LoadOptions();
    EXPECT_EQ(PictureOptionsOf(settings),
              (PictureOptions{ColorMatrixChoice::Bt709, false, true, true, true}));
    WriteText(ini, "[Option]\nColorMatrix=7\nToneMap=-2\n");
    settings.LoadOptions();
    EXPECT_EQ(PictureOptionsOf(settings), PictureOptions{});
}

TEST(SettingsOptions, AGarbageFileGivesTheDefaultsAndKeepsItsBytesWhenOptionsAreSaved)
{
    TempDir dir;
    const fs::path path = dir.path() / "Clipmint.ini";
    std::vector<std::uint8_t> garbage(3000);
    std::uint32_t state = 7;
    for (std::uint8_t& byte : garbage) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<std::uint8_t>(state >> 24);
    }
    WriteBytes(path.string(), garbage);

    CSettings settings(path);
    settings.LoadOptions();
    settings.LoadViewerPath();
    EXPECT_EQ(loadedOptions(path), (std::array{0, 0, 75, 0}));
    EXPECT_EQ(settings.viewerPath(), "");
    settings.SetOption(OPTION_JPEG, 2);
    ASSERT_TRUE(settings.SaveOptions());
    const std::vector<std::uint8_t> saved = ReadBytes(path.string());
    EXPECT_TRUE(std::equal(garbage.begin(), garbage.end(), saved.begin()));
    EXPECT_EQ(loadedOptions(path), (std::array{0, 2, 75, 0}));
}

TEST(SettingsOptions, LoadRepairsNegativeValuesAndLowQuality)
{
    TempDir dir;
    const fs::path ini = dir.path() / "Clipmint.ini";
    WriteText(ini, "[Option]\nOPTION_EVERY_FRAME=-3\nOPTION_JPEG=7\nOPTION_JPEG_QUALITY=5\n"
                   "OPTION_SPEED=4ms\n");
    EXPECT_EQ(loadedOptions(ini), (std::array{0, 7, 75, 4}));
    WriteText(ini, "[Option]\nOPTION_EVERY_FRAME=12\nOPTION_JPEG_QUALITY=10\n");
    EXPECT_EQ(loadedOptions(ini), (std::array{12, 0, 10, 0}));
    WriteText(ini, "[Option]\nOPTION_JPEG_QUALITY=high\n");
    EXPECT_EQ(loadedOptions(ini)[OPTION_JPEG_QUALITY], 75);
}

TEST(SettingsOptions, SaveWritesTheTableInIndexOrderBesideOtherSections)
{
    TempDir dir;
    CSettings settings(dir.path() / "Clipmint.ini");
    WriteText(settings.iniFile().path(), "[AVI]\nCurrentFrame=3\n");
    settings.SetOption(OPTION_EVERY_FRAME, 2);
    settings.SetOption(OPTION_JPEG, 1);
    settings.SetOption(OPTION_JPEG_QUALITY, 5);
    settings.SetOption(OPTION_SPEED, -4);
    settings.setViewerPath("/opt/my viewer/view");
    settings.setFileNames(*FileNamePattern::Parse("{name} {frame}"));

    ASSERT_TRUE(settings.SaveOptions());
    ASSERT_TRUE(settings.saveViewerPath());
    EXPECT_EQ(
        ReadText(settings.iniFile().path()),
        "[AVI]\nCurrentFrame=3\n\n[Option]\nOPTION_EVERY_FRAME=2\nOPTION_JPEG=1\n"
        "OPTION_JPEG_QUALITY=5\nOPTION_SPEED=-4\nColorMatrix=0\nToneMap=1\nKeepRotation=0\n"
        "Deinterlace=1\nDisplayAspect=0\nFrameChoice=0\nEveryMilliseconds=1000\nSceneThreshold=24\n"
        "Provenance=0\nManifest=0\nFileNames={name} {frame}\n\n[Viewer]\n"
        "ViewerPath=/opt/my viewer/view\n");
    // A quality below 10 holds for this run only.
    EXPECT_EQ(settings.GetOption(OPTION_JPEG_QUALITY), 5);
    EXPECT_EQ(loadedOptions(settings.iniFile().path()), (std::array{2, 1, 75, 0}));
    CSettings later(settings.iniFile().path());
    later.LoadViewerPath();
    EXPECT_EQ(later.viewerPath(), "/opt/my viewer/view");
    later.LoadOptions();
    EXPECT_EQ(later.fileNames().text(), "{name} {frame}");
}

TEST(SettingsIniPath, ReplacesTheExtensionOfTheFileName)
{
    TempDir dir;
    const fs::path folder = dir.path() / "tools.d";
    fs::create_directory(folder);
    EXPECT_EQ(CSettings::BuildIniPath(folder / "clipmint"), folder / "clipmint.ini");
    EXPECT_EQ(CSettings::BuildIniPath(folder / "Clipmint.exe"), folder / "Clipmint.ini");
    EXPECT_EQ(CSettings::BuildIniPath(folder / "clip.mint.bin"), folder / "clip.mint.ini");
}

TEST(SettingsIniPath, UnwritableFolderFallsBackToTheUserConfiguration)
{
    // Tests run as root, who can write anywhere; a folder that does not exist stands in for an
    // installed program's.
    TempDir dir;
    const fs::path executable = dir.path() / "gone" / "clipmint";
    {
        ScopedEnvironment config("XDG_CONFIG_HOME", (dir.path() / "config").c_str());
        EXPECT_EQ(CSettings::BuildIniPath(executable),
                  dir.path() / "config" / "Clipmint" / "Clipmint.ini");
        EXPECT_TRUE(fs::is_directory(dir.path() / "config" / "Clipmint"));
    }
    ScopedEnvironment config("XDG_CONFIG_HOME", "relative");
    ScopedEnvironment home("HOME", dir.path().c_str());
    EXPECT_EQ(CSettings::BuildIniPath(executable),
              dir.path() / ".config" / "Clipmint" / "Clipmint.ini");
}

TEST(SettingsIniPath, AnInstalledProgramUsesTheUserConfigurationEvenWhereItCouldWrite)
{
    // As root, with an old settings file beside it, and reached through a link to its folder,
    // as /bin/clipmint is on a merged /usr.
    TempDir dir;
    const fs::path installed = dir.path() / "usr" / "bin";
    fs::create_directories(installed);
    WriteText(installed / "clipmint.ini", "[Option]\n");
    fs::create_directory_symlink(installed, dir.path() / "bin");
    ScopedEnvironment config("XDG_CONFIG_HOME", (dir.path() / "config").c_str());
    EXPECT_EQ(CSettings::BuildIniPath(dir.path() / "bin" / "clipmint", installed),
              dir.path() / "config" / "Clipmint" / "Clipmint.ini");
    EXPECT_EQ(CSettings::BuildIniPath(dir.path() / "clipmint", installed),
              dir.path() / "clipmint.ini");
}
