#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// Whether a walk also descends into the sub-folders of the folder it starts in.
enum class SearchDepth
{
    FolderOnly,
    WithSubFolders,
};

// Walks a folder and hands every file whose name matches one of a list of wildcard patterns to
// OnFile, as it is found: no list of the matches is ever built, so a folder of any size costs
// the same memory. A folder's own files come first, pattern by pattern in list order and by
// name within a pattern, then its sub-folders, depth first and by name. A file that matches
// two patterns is reported twice. Only regular files (or links to them) are reported.
//
// An OnFile override may pump the event loop, and so run other code, while the walk waits for
// it; the walk only reads the stop flag after each file.
class CSrchDir
{
public:
    CSrchDir() = default;
    virtual ~CSrchDir() = default;
    CSrchDir(const CSrchDir&) = delete;
    CSrchDir& operator=(const CSrchDir&) = delete;

    // Prepares a walk. patterns holds wildcard patterns ('*' and '?', case-insensitive over the
    // file name) separated by spaces and/or semicolons, as in "*.jpg;*.bmp". The walk never
    // enters excludedFolder (an empty text excludes nothing). Clears the stop flag.
    void SetSearch(std::string_view patterns, SearchDepth depth,
                   std::string_view excludedFolder = {});

    // Walks folder; an empty folder text walks nothing. Folders that cannot be read are
    // skipped: a missing folder simply has no matches.
    void Search(std::string_view folder);

    // Called once for each match with folder + file name. The base version does nothing.
    virtual int OnFile(const std::string& path, const std::filesystem::directory_entry& entry);

    // Ends the walk after the file being reported. Only SetSearch clears the request.
    void requestStop() { m_stop = true; }
    bool stopRequested() const { return m_stop; }

private:
    void walkFolder(const std::string& folder);
    void reportMatches(const std::string& folder, std::string_view pattern);
    void walkSubFolders(const std::string& folder);

    std::string m_patterns;
    std::string m_excludedFolder; // ends with '/' when set
    bool m_stop = false;
    SearchDepth m_depth = SearchDepth::FolderOnly;
};

// Counts the matches of a walk.
class CSrchDirCounter : public CSrchDir
{
public:
    int CountFiles(std::string_view folder, std::string_view patterns, SearchDepth depth,
                   std::string_view excludedFolder = {});

    int OnFile(const std::string& path, const std::filesystem::directory_entry& entry) override;

private:
    int m_count = 0;
};

// Finds the first match of a walk and stops there.
class CSrchDirFirstFile : public CSrchDir
{
public:
    std::optional<std::string> FindFirstMatch(std::string_view folder, std::string_view patterns,
                                              SearchDepth depth,
                                              std::string_view excludedFolder = {});

    int OnFile(const std::string& path, const std::filesystem::directory_entry& entry) override;

private:
    std::string m_result;
};

// What a batch tool does with each file of its source folder. A result of 0 ends the batch.
class BatchFileOwner
{
public:
    virtual ~BatchFileOwner() = default;
    virtual int processFile(const std::string& path) = 0;
};

// Hands every match of one folder (never its sub-folders) to a batch tool, until the tool
// returns 0 for a file.
class CSrchDirRelay : public CSrchDir
{
public:
    void RunBatch(BatchFileOwner& owner, std::string_view folder, std::string_view patterns);

    int OnFile(const std::string& path, const std::filesystem::directory_entry& entry) override;

private:
    BatchFileOwner* m_owner = nullptr; // not owned; set only while RunBatch runs
};

// Whether name matches a wildcard pattern: '*' stands for any run of characters, '?' for one
// character, and other characters match themselves, letters without regard to ASCII case. A
// character is a whole UTF-8 sequence, or any single byte that does not start one, so that names
// which are not valid UTF-8 split into characters as a decoder would show them.
bool MatchesWildcard(std::string_view name, std::string_view pattern);
