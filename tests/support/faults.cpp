#include "support/faults.h"

#include <cerrno>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;
constexpr int kCouldNotDrop = 2;

} // namespace

FileSizeLimit::FileSizeLimit(rlim_t bytes)
{
    getrlimit(RLIMIT_FSIZE, &m_old);
    rlimit small = m_old;
    small.rlim_cur = bytes;
    // Past the limit a write fails with EFBIG instead of the signal ending the process.
    m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &m_old);
    std::signal(SIGXFSZ, m_oldHandler);
}

std::optional<std::string> FolderNobodyMayWrite()
{
    const std::string folder = "/sys";
    const std::string probe = folder + "/clipmint-probe";
    struct stat status = {};
    if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
        return std::nullopt;
    const int descriptor = open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (descriptor >= 0) {
        // Not the kernel's folder after all.
        close(descriptor);
        unlink(probe.c_str());
        return std::nullopt;
    }
    return folder;
}

std::optional<bool> RunUnprivileged(const std::function<bool()>& work)
{
    const pid_t child = fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0) {
        if (geteuid() == 0 &&
            (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(kCouldNotDrop);
        _exit(work() ? 0 : 1);
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) == kCouldNotDrop)
        return std::nullopt;
    return WEXITSTATUS(status) == 0;
}
