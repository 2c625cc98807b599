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

// What a CFileReplacement does with a symbolic link at its path.
enum class Links
{
    // The new file takes the link's place and what the link leads to is left alone, so that a
    // link planted at the name of a picture the program makes can't turn the write into one
    // over another file.
    Replace,
    // The file the link leads to is the one replaced and the link stays, for a file that its
    // owner keeps elsewhere on purpose, such as a settings file in a folder of dotfiles.
    Follow,
};

// Writes a file so that a failure never costs the file that was there, and so that no part of a
// new file is ever seen under its name: the new contents go to a file without a name in the same
// folder where the file system allows it, or else to a short hidden one (".clipmint-XXXXXX.tmp"),
// and take the name only once they are complete, replacing the old file in one step. A process
// killed halfway leaves no file behind where the file system keeps unnamed files (ext4, xfs,
// btrfs, tmpfs). A file that may not be written (read-only, or on a read-only file system) is
// refused, not replaced. Anything else at the path, such as a device, is written to directly.
class CFileReplacement
{
public:
    explicit CFileReplacement(std::string path, Publishing publishing = Publishing::OnCommit,
                              Links links = Links::Replace)
        : m_path(std::move(path)), m_publishing(publishing), m_links(links)
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
    std::FILE* openInPlace();
    int linkUnnamed();
    void abandon();

    // An open descriptor that is closed when it goes.
    class Descriptor
    {
    public:
        Descriptor() = default;
        explicit Descriptor(int descriptor) : m_descriptor(descriptor) {}
        ~Descriptor() { reset(); }
        Descriptor(const Descriptor&) = delete;
        Descriptor& operator=(const Descriptor&) = delete;
        int get() const { return m_descriptor; }
        void reset(int descriptor = -1);

    private:
        int m_descriptor = -1;
    };

    std::string m_path;
    Publishing m_publishing;
    Links m_links;
    bool m_unnamed = false;   // the new contents are in a file without a name
    std::string m_temporary;  // else the hidden name they are under until they take their place
    Descriptor m_unnamedFile; // the unnamed file, kept open from commit() until it has a name
    bool m_committed = false;
    StdioFile m_file;
};
