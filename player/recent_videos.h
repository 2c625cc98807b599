#pragma once

#include <string>
#include <vector>

class CIniFile;

// The videos opened last, in section "Recent" of the settings file: "File1" is the most recent,
// up to "File10". Videos that no longer exist stay listed, as a disk that is not mounted now may
// hold them again later; whoever shows the list leaves them out.
inline constexpr int kRecentVideoCount = 10;

// Most recent first; empty entries are left out.
std::vector<std::string> LoadRecentVideos(const CIniFile& file);

// Puts path at the head of the list, removes its older entry, and keeps the ten most recent.
// Only section "Recent" changes. False when the file could not be written.
bool RememberRecentVideo(CIniFile& file, const std::string& path);
