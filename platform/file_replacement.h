#pragma once

#include "platform/stdio_file.h"

#include <cstdio>
#include <string>

// When a file written through CFileReplacement takes its place.
enum class Publishing
{
    // commit() puts the file in place.
    OnCommit,
    // commit() only completes the file beside its place and publish() puts it there, so that
    // several files written at once can appear one after the other, each only when it is whole.
    Separately,
};

// Writes a file so that a failure never costs the file that was there: an existing file is only
// replaced by a complete new one, written beside it and renamed over it, and a new file that
// could not be completed is removed again. A file that may not be written (read-only, or on a
// read-only file system) is refused, not replaced. Anything else at the path, such as a device,
// is written to directly.
class CFileReplacement
{
public:
    explicit CFileReplacement(std::string path, Publishing publishing = Publishing::OnCommit)
        : m_path(std::move(path)), m_publishing(publishing)
    {}
    ~CFileReplacement();
    CFileReplacement(const CFileReplacement&) = delete;
    CFileReplacement& operator=(const CFileReplacement&) = delete;

    const std::string& path() const { return m_path; }

    // The stream to write the new contents to; null, with errno set, when it can't be created.
    std::FILE* open();
    // Flushes and closes the stream and, when publishing on commit, puts the file in place.
    // Returns 0, or the errno of the failure, in which case the old file is still there.
    int commit();
    // Puts a committed file in place when publishing separately. Returns 0 or the errno of the
    // failure; a file never published is removed when this object goes.
    int publish();

private:
    enum class Permissions
    {
        OfANewFile, // as the process creates files, less its umask
        Exactly,    // those of the file replaced
    };
    std::FILE* openBeside(unsigned mode, Permissions permissions);
    void abandon();

    std::string m_path;
    Publishing m_publishing;
    std::string m_temporary; // where the new contents go until they take their place
    bool m_createdNew = false;
    bool m_committed = false;
    StdioFile m_file;
};
