#pragma once

// What every writer of files needs of the file system: the folder to write into, and the words
// for a file that could not be written.

#include <string>

// The message for a file that could not be written: "Sorry, can't write the file PATH."
// followed by the system's reason for error, when there is one (error is an errno value or 0).
std::string CantWriteFileText(const std::string& path, int error);

// Creates every missing folder of the path. Returns an empty string when the folder exists
// afterwards, otherwise the system's reason. An empty path names no folder and is refused.
std::string MakeSureDirectoryPathExists(const std::string& folder);
