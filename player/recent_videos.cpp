#include "player/recent_videos.h"

#include "settings/ini_file.h"

#include <algorithm>

namespace {

constexpr char kSection[] = "Recent";
// No stored value holds a line break: this one says that the key is missing.
constexpr char kMissing[] = "\n";

std::string keyOf(int index)
{
    return "File" + std::to_string(index + 1);
}

std::vector<std::string> recentVideos(const CIniReading& file)
{
    std::vector<std::string> paths;
    for (int index = 0; index < kRecentVideoCount; ++index) {
        std::string path = file.readString(kSection, keyOf(index), "");
        if (!path.empty())
            paths.push_back(std::move(path));
    }
    return paths;
}

} // namespace

std::vector<std::string> LoadRecentVideos(const CIniFile& file)
{
    return recentVideos(file.read());
}

bool RememberRecentVideo(CIniFile& file, const std::string& path)
{
    const CIniReading stored = file.read();
    std::vector<std::string> paths = recentVideos(stored);
    std::erase(paths, path);
    paths.insert(paths.begin(), path);
    paths.resize(std::min<std::size_t>(paths.size(), kRecentVideoCount));

    std::vector<std::string> keys;
    std::vector<CIniFile::KeyValue> values;
    for (int index = 0; index < kRecentVideoCount; ++index)
        keys.push_back(keyOf(index));
    for (std::size_t index = 0; index < paths.size(); ++index)
        values.emplace_back(keys[index], paths[index]);
    // Keys beyond the list are emptied where a list with gaps left them, and not added.
    for (std::size_t index = paths.size(); index < keys.size(); ++index) {
        if (stored.readString(kSection, keys[index], kMissing) != kMissing)
            values.emplace_back(keys[index], "");
    }
    return file.writeStrings(kSection, values);
}
