#pragma once

// Ways for a test to make the world fail that work when the tests run as root, where permission
// bits stop nothing.

#include <csignal>
#include <functional>
#include <optional>
#include <string>

#include <sys/resource.h>

// Limits every file this process writes to a few bytes for as long as it lives, so that writing
// fails partway with "File too large" as it would on a full disk.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = SIG_DFL;
};

// A folder that exists and in which nobody, root included, may create a file: the kernel's
// /sys. Nothing when the system has no such folder.
std::optional<std::string> FolderNobodyMayWrite();

// Runs work in a child process without privilege over files, so that permission bits count: as
// the user "nobody" when the tests run as root, as the same user otherwise. Gives work's answer,
// or nothing when the child could not give up root (a container without setuid, say). work must
// not use the test framework's assertions: only its answer comes back.
std::optional<bool> RunUnprivileged(const std::function<bool()>& work);
