#include "batch/srch_dir.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The index just past the character that starts at i: a whole UTF-8 sequence is one character,
// and so is every byte that does not start one, as a decoder would show each such byte as one
// replacement character.
size_t nextCharacter(std::string_view text, size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                          : lead >= 0xE0 && lead <= 0xEF ? 3
                          : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                         : 1;
    if (i + length > text.size())
        return i + 1;
    for (size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return i + 1;
    }
    return i + length;
}

// Whether the characters that start at n in name and at p in pattern are the same, letters
// compared without regard to ASCII case. Comparing whole characters keeps both positions on
// character boundaries.
bool sameCharacter(std::string_view name, size_t n, std::string_view pattern, size_t p)
{
    const size_t length = nextCharacter(name, n) - n;
    if (nextCharacter(pattern, p) - p != length)
        return false;
    for (size_t i = 0; i < length; ++i) {
        if (lowerAscii(name[n + i]) != lowerAscii(pattern[p + i]))
            return false;
    }
    return true;
}

std::string withTrailingSlash(std::string_view folder)
{
    std::string text(folder);
    if (!text.empty() && text.back() != '/')
        text += '/';
    return text;
}

// Calls visit for each token of a list separated by spaces and semicolons.
template <typename Visit> void forEachPattern(std::string_view patterns, Visit visit)
{
    constexpr std::string_view kSeparators = " ;";
    size_t start = patterns.find_first_not_of(kSeparators);
    while (start != std::string_view::npos) {
        const size_t end = patterns.find_first_of(kSeparators, start);
        if (!visit(patterns.substr(start, end - start)) || end == std::string_view::npos)
            return;
        start = patterns.find_first_not_of(kSeparators, end);
    }
}

// The entries of a folder that pass keep, in byte order of their names, so that every walk of
// the same folder reports the same order. An unreadable folder, or an entry that cannot be
// read past, ends the list without an error.
template <typename Keep>
std::vector<fs::directory_entry> sortedEntries(const fs::path& folder, Keep keep)
{
    std::vector<fs::directory_entry> entries;
    std::error_code error;
    fs::directory_iterator it(folder, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        if (keep(*it))
            entries.push_back(*it);
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.path().filename().native() < b.path().filename().native();
    });
    return entries;
}

} // namespace

bool MatchesWildcard(std::string_view name, std::string_view pattern)
{
    size_t n = 0;
    size_t p = 0;
    // Where the last '*' was seen, and where in the name it is to be retried when the rest of
    // the pattern fails; each retry lets the star swallow one more character. Every step takes
    // one whole character from each side, which is what makes retrying only the last star
    // enough.
    size_t starPattern = std::string_view::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n = nextCharacter(name, n);
        } else if (p < pattern.size() && sameCharacter(name, n, pattern, p)) {
            p = nextCharacter(pattern, p);
            n = nextCharacter(name, n);
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = starName = nextCharacter(name, starName);
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

void CSrchDir::SetSearch(std::string_view patterns, SearchDepth depth,
                         std::string_view excludedFolder)
{
    m_patterns = patterns;
    m_depth = depth;
    m_excludedFolder = withTrailingSlash(excludedFolder);
    m_stop = false;
}

void CSrchDir::Search(std::string_view folder)
{
    if (folder.empty())
        return;
    walkFolder(withTrailingSlash(folder));
}

int CSrchDir::OnFile(const std::string&, const fs::directory_entry&)
{
    return 0;
}

void CSrchDir::walkFolder(const std::string& folder)
{
    // Folder names differ by case on Linux, so the excluded folder is compared exactly.
    if (m_stop || (!m_excludedFolder.empty() && folder == m_excludedFolder))
        return;
    forEachPattern(m_patterns, [&](std::string_view pattern) {
        reportMatches(folder, pattern);
        return !m_stop;
    });
    if (m_depth == SearchDepth::WithSubFolders && !m_stop)
        walkSubFolders(folder);
}

void CSrchDir::reportMatches(const std::string& folder, std::string_view pattern)
{
    // Only the matches of one folder and one pattern are held, never those of a whole walk.
    // Devices, pipes and sockets are left out: reading one as an image could block forever.
    const auto matches = sortedEntries(folder, [pattern](const fs::directory_entry& entry) {
        std::error_code error;
        return entry.is_regular_file(error) &&
               MatchesWildcard(entry.path().filename().native(), pattern);
    });
    for (const fs::directory_entry& entry : matches) {
        OnFile(folder + entry.path().filename().native(), entry);
        if (m_stop)
            return;
    }
}

void CSrchDir::walkSubFolders(const std::string& folder)
{
    // Linked folders are not followed: a link to a parent would make the walk endless.
    const auto subFolders = sortedEntries(folder, [](const fs::directory_entry& entry) {
        std::error_code error;
        return !entry.is_symlink(error) && entry.is_directory(error);
    });
    for (const fs::directory_entry& entry : subFolders) {
        walkFolder(folder + entry.path().filename().native() + '/');
        if (m_stop)
            return;
    }
}

int CSrchDirCounter::CountFiles(std::string_view folder, std::string_view patterns,
                                SearchDepth depth, std::string_view excludedFolder)
{
    m_count = 0;
    SetSearch(patterns, depth, excludedFolder);
    Search(folder);
    return m_count;
}

int CSrchDirCounter::OnFile(const std::string&, const fs::directory_entry&)
{
    ++m_count;
    return 0;
}

std::optional<std::string> CSrchDirFirstFile::FindFirstMatch(std::string_view folder,
                                                             std::string_view patterns,
                                                             SearchDepth depth,
                                                             std::string_view excludedFolder)
{
    m_result.clear();
    SetSearch(patterns, depth, excludedFolder);
    Search(folder);
    if (m_result.empty())
        return std::nullopt;
    return m_result;
}

int CSrchDirFirstFile::OnFile(const std::string& path, const fs::directory_entry&)
{
    m_result = path;
    requestStop();
    return 0;
}

void CSrchDirRelay::RunBatch(BatchFileOwner& owner, std::string_view folder,
                             std::string_view patterns)
{
    m_owner = &owner;
    SetSearch(patterns, SearchDepth::FolderOnly);
    Search(folder);
    m_owner = nullptr;
}

int CSrchDirRelay::OnFile(const std::string& path, const fs::directory_entry&)
{
    const int result = m_owner->processFile(path);
    if (result == 0)
        requestStop();
    return result;
}
