#include "batch/srch_dir.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::string>;

void touch(const TempDir& root, const std::vector<const char*>& names)
{
    for (const char* name : names) {
        fs::create_directories((root.path() / name).parent_path());
        std::ofstream(root.path() / name).put('x');
    }
}

// Records a walk's reports relative to its start folder, and stops after stopAfter of them.
class RecordingSearch : public CSrchDir
{
public:
    explicit RecordingSearch(const TempDir& root, size_t stopAfter = 0)
        : m_root(root.path().string()), m_stopAfter(stopAfter)
    {}

    int OnFile(const std::string& path, const fs::directory_entry& entry) override
    {
        EXPECT_EQ(fs::path(path), entry.path());
        m_reports.push_back(path.substr(m_root.size() + 1));
        if (m_reports.size() == m_stopAfter)
            requestStop();
        return 0;
    }

    Names walk(std::string_view patterns, SearchDepth depth, const std::string& excluded = {})
    {
        m_reports.clear();
        SetSearch(patterns, depth, excluded);
        Search(m_root);
        return m_reports;
    }

private:
    std::string m_root;
    size_t m_stopAfter;
    Names m_reports;
};

// A batch tool whose operation answers each file with the next of a list of results.
class ScriptedOwner : public BatchFileOwner
{
public:
    explicit ScriptedOwner(std::vector<int> results) : m_results(std::move(results)) {}

    int processFile(const std::string& path) override
    {
        files.push_back(fs::path(path).filename().string());
        return m_results.at(files.size() - 1);
    }
    Names files;

private:
    std::vector<int> m_results;
};

} // namespace

TEST(Wildcard, MatchesStarsAndWholeCharactersIgnoringAsciiCase)
{
    EXPECT_TRUE(MatchesWildcard("FRAME.JPG", "*.jpg"));
    EXPECT_TRUE(MatchesWildcard("a.b.jpg", "*.Jpg"));
    EXPECT_FALSE(MatchesWildcard("frame.jpeg", "*.jpg"));
    EXPECT_FALSE(MatchesWildcard("frame.jpg.bak", "*.jpg"));
    EXPECT_TRUE(MatchesWildcard("img01.png", "img??.png"));
    EXPECT_FALSE(MatchesWildcard("img1.png", "img??.png"));
    EXPECT_TRUE(MatchesWildcard("abcabcd", "*abcd"));
    EXPECT_FALSE(MatchesWildcard("a-x-b-y", "a*b*c"));
    EXPECT_TRUE(MatchesWildcard("帧1.jpg", "?1.jpg"));
    EXPECT_FALSE(MatchesWildcard("帧1.jpg", "???.jpg"));
    EXPECT_TRUE(MatchesWildcard("图片.JPG", "图*.jpg"));
    // In a name that is not UTF-8 (a Latin-1 degree sign) every stray byte is one character.
    EXPECT_TRUE(MatchesWildcard("20\xB0"
                                "C.jpg",
                                "2??C.jpg"));
    EXPECT_FALSE(MatchesWildcard("20\xB0"
                                 "C.jpg",
                                 "2?C.jpg"));
    EXPECT_TRUE(MatchesWildcard("a\x84", "a*"));
    EXPECT_FALSE(MatchesWildcard("\xC3\x84", "\xC3*"));
}

TEST(SrchDir, ReportsFolderFilesPatternByPatternThenSubFoldersDepthFirst)
{
    TempDir root;
    touch(root, {"b.bmp", "z.jpg", "a.bmp", "m.JPG", "c.png", "sub/x.jpg", "sub/a.bmp",
                 "sub/deeper/d.jpg", "later/l.jpg", "A/q.bmp"});
    RecordingSearch search(root);
    EXPECT_EQ(search.walk("*.jpg;*.bmp", SearchDepth::WithSubFolders),
              (Names{"m.JPG", "z.jpg", "a.bmp", "b.bmp", "A/q.bmp", "later/l.jpg", "sub/x.jpg",
                     "sub/a.bmp", "sub/deeper/d.jpg"}));
    // Spaces separate patterns too; a file that two patterns match is reported twice.
    EXPECT_EQ(search.walk(" *.bmp ;; z.* *.jpg;", SearchDepth::FolderOnly),
              (Names{"a.bmp", "b.bmp", "z.jpg", "m.JPG", "z.jpg"}));
    EXPECT_TRUE(search.walk(" ; ", SearchDepth::WithSubFolders).empty());
}

TEST(SrchDir, ReportsOnlyRegularFilesAndFollowsNoLinkedFolder)
{
    TempDir root;
    touch(root, {"folder.jpg/inner.jpg", "real.jpg"});
    ASSERT_EQ(mkfifo((root.path() / "pipe.jpg").c_str(), 0600), 0);
    fs::create_symlink(root.path() / "missing.jpg", root.path() / "broken.jpg");
    fs::create_symlink(root.path() / "real.jpg", root.path() / "link.jpg");
    fs::create_directory_symlink(root.path(), root.path() / "folder.jpg" / "loop");

    RecordingSearch search(root);
    EXPECT_EQ(search.walk("*.jpg", SearchDepth::FolderOnly), (Names{"link.jpg", "real.jpg"}));
    EXPECT_EQ(search.walk("*.jpg", SearchDepth::WithSubFolders),
              (Names{"link.jpg", "real.jpg", "folder.jpg/inner.jpg"}));
}

TEST(SrchDir, SkipsTheExcludedFolderAndStopsWhenAsked)
{
    TempDir root;
    touch(root, {"a.jpg", "b.jpg", "c.bmp", "out/more/d.jpg", "Out/e.jpg"});
    RecordingSearch search(root);
    const std::string out = (root.path() / "out").string();
    EXPECT_EQ(search.walk("*.jpg", SearchDepth::WithSubFolders, out),
              (Names{"a.jpg", "b.jpg", "Out/e.jpg"}));
    EXPECT_EQ(search.walk("*.jpg", SearchDepth::WithSubFolders, out + '/'),
              (Names{"a.jpg", "b.jpg", "Out/e.jpg"}));
    EXPECT_TRUE(search.walk("*", SearchDepth::WithSubFolders, root.path().string()).empty());

    RecordingSearch stopAtSecond(root, 2);
    EXPECT_EQ(stopAtSecond.walk("*.jpg;*.bmp", SearchDepth::WithSubFolders),
              (Names{"a.jpg", "b.jpg"}));
    RecordingSearch stopAtThird(root, 3);
    EXPECT_EQ(stopAtThird.walk("*.jpg;*.bmp", SearchDepth::WithSubFolders),
              (Names{"a.jpg", "b.jpg", "c.bmp"}));
    stopAtThird.requestStop();
    EXPECT_EQ(stopAtThird.walk("*.bmp", SearchDepth::FolderOnly), (Names{"c.bmp"}));
}

TEST(SrchDir, CountsFindsTheFirstMatchAndRelays)
{
    TempDir root;
    touch(root, {"a.bmp", "z.jpg", "y.JPG", "0.png", "sub/d.jpg"});
    const std::string folder = root.path().string();

    CSrchDirCounter counter;
    EXPECT_EQ(counter.CountFiles(folder, "*.jpg", SearchDepth::FolderOnly), 2);
    EXPECT_EQ(counter.CountFiles(folder + '/', "*.jpg", SearchDepth::WithSubFolders), 3);
    EXPECT_EQ(counter.CountFiles(folder + "/missing", "*", SearchDepth::WithSubFolders), 0);
    EXPECT_EQ(counter.CountFiles("", "*", SearchDepth::WithSubFolders), 0);

    // The earlier pattern wins over the earlier name.
    CSrchDirFirstFile first;
    EXPECT_EQ(first.FindFirstMatch(folder, "*.jpg;*.bmp", SearchDepth::FolderOnly),
              root.file("y.JPG"));
    EXPECT_EQ(first.FindFirstMatch(folder, "*.gif", SearchDepth::WithSubFolders), std::nullopt);

    CSrchDirRelay relay;
    ScriptedOwner all({1, 1, 1});
    relay.RunBatch(all, folder, "*.jpg;*.png");
    EXPECT_EQ(all.files, (Names{"y.JPG", "z.jpg", "0.png"}));
    ScriptedOwner refusesSecond({1, 0, 1});
    relay.RunBatch(refusesSecond, folder, "*.jpg;*.png");
    EXPECT_EQ(refusesSecond.files, (Names{"y.JPG", "z.jpg"}));
}
