#pragma once

#include "platform/stdio_file.h"

#include <cstdio>
#include <string>

// Writes a file so that a failure never costs the file that was there: an existing file is only
// replaced by a complete new one, written beside it and renamed over it, and a new file that
// could not be completed is removed again. A file that may not be written (read-only, or on a
// read-only file system) is refused, not replaced. Anything else at the path, such as a device,
// is written to directly.
class CFileReplacement
{
public:
    explicit CFileReplacement(std::string path) : m_path(std::move(path)) {}
    ~CFileReplacement();
    CFileReplacement(const CFileReplacement&) = delete;
    CFileReplacement& operator=(const CFileReplacement&) = delete;

    // The stream to write the new contents to; null, with errno set, when it can't be created.
    std::FILE* open();
    // Flushes and closes the stream and puts the file in place. Returns 0, or the errno of the
    // failure, in which case the old file is still there.
    int commit();

private:
    void abandon();

    std::string m_path;
    std::string m_temporary; // where the new contents go while an old file is replaced
    bool m_createdNew = false;
    StdioFile m_file;
};
