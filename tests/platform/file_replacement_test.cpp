#include "platform/file_replacement.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

bool writeText(CFileReplacement& file, const std::string& text)
{
    std::FILE* stream = file.open();
    return stream != nullptr && std::fputs(text.c_str(), stream) >= 0;
}

std::vector<std::string> namesIn(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// A folder on the tmpfs of /dev/shm, removed at the end.
class ShmFolder
{
public:
    ShmFolder()
    {
        char name[] = "/dev/shm/clipmint-test-XXXXXX";
        if (mkdtemp(name) != nullptr)
            m_path = name;
    }
    ~ShmFolder()
    {
        std::error_code error;
        if (!m_path.empty())
            fs::remove_all(m_path, error);
    }
    ShmFolder(const ShmFolder&) = delete;
    ShmFolder& operator=(const ShmFolder&) = delete;

    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

} // namespace

// A process killed while it writes leaves nothing behind, not even a temporary file.
TEST(FileReplacement, ANewFileHasNoNameUntilItIsComplete)
{
    ShmFolder folder;
    if (folder.path().empty())
        GTEST_SKIP() << "no /dev/shm";
    const std::string path = (folder.path() / "000042.png").string();

    auto file = std::make_unique<CFileReplacement>(path, Publishing::Separately);
    ASSERT_TRUE(writeText(*file, "new"));
    ASSERT_EQ(file->commit(), 0);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{});
    ASSERT_EQ(file->publish(), 0);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"000042.png"});
    EXPECT_EQ(ReadText(path), "new");

    // Over an old file, only the old one is there until the new one replaces it.
    CFileReplacement again(path);
    ASSERT_TRUE(writeText(again, "newer"));
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"000042.png"});
    EXPECT_EQ(ReadText(path), "new");
    ASSERT_EQ(again.commit(), 0);
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"000042.png"});
    EXPECT_EQ(ReadText(path), "newer");

    // One never published goes without a trace.
    file = std::make_unique<CFileReplacement>((folder.path() / "gone.png").string(),
                                              Publishing::Separately);
    ASSERT_TRUE(writeText(*file, "gone"));
    ASSERT_EQ(file->commit(), 0);
    file.reset();
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"000042.png"});
}

TEST(FileReplacement, NamesAsLongAsTheSystemAllowsAreWrittenAndReplaced)
{
    TempDir dir;
    const std::string path = dir.file(std::string(251, 'a') + ".bmp");
    for (const char* text : {"first", "second"}) {
        CFileReplacement file(path);
        ASSERT_TRUE(writeText(file, text));
        ASSERT_EQ(file.commit(), 0) << text;
        EXPECT_EQ(ReadText(path), text);
    }
    EXPECT_EQ(namesIn(dir.path()).size(), 1u);
}

TEST(FileReplacement, AnOutputReplacesALinkAtItsNameAndTheSettingsFileFollowsIt)
{
    TempDir dir;
    fs::create_directories(dir.path() / "victim");
    const fs::path victim = dir.path() / "victim" / "notes.txt";
    WriteText(victim, "notes");
    fs::create_directories(dir.path() / "t");
    for (const Publishing publishing : {Publishing::OnCommit, Publishing::Separately}) {
        const fs::path planted = dir.path() / "t" / "000000.bmp";
        fs::remove(planted);
        fs::create_symlink("../victim/notes.txt", planted);
        CFileReplacement file(planted.string(), publishing);
        ASSERT_TRUE(writeText(file, "picture"));
        ASSERT_EQ(file.commit(), 0);
        ASSERT_EQ(file.publish(), publishing == Publishing::Separately ? 0 : EBADF);
        EXPECT_FALSE(fs::is_symlink(planted));
        EXPECT_EQ(ReadText(planted), "picture");
        EXPECT_EQ(ReadText(victim), "notes");
    }

    const fs::path settings = dir.path() / "clipmint.ini";
    fs::create_symlink("victim/notes.txt", settings);
    CFileReplacement file(settings.string(), Publishing::OnCommit, Links::Follow);
    ASSERT_TRUE(writeText(file, "[Option]\n"));
    ASSERT_EQ(file.commit(), 0);
    EXPECT_TRUE(fs::is_symlink(settings));
    EXPECT_EQ(ReadText(victim), "[Option]\n");
    EXPECT_EQ(namesIn(dir.path() / "victim"), std::vector<std::string>{"notes.txt"});
}
