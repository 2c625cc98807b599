#pragma once

// What every writer of files needs of the file system: the folder to write into.

#include <string>

// Creates every missing folder of the path. Returns an empty string when the folder exists
// afterwards, otherwise the system's reason. An empty path names no folder and is refused.
std::string MakeSureDirectoryPathExists(const std::string& folder);
