#include "platform/file_replacement.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Creates a file of a new name beginning with path, as mkstemp does, but with the permissions a
// new file at path would get (mode less the process's umask). Returns the descriptor, or -1 with
// errno set.
int createBeside(const std::string& path, mode_t mode, std::string& name)
{
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = path + ".";
        for (int i = 0; i < 6; ++i)
            name += kLetters[pick(random)];
        const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor >= 0 || errno != EEXIST)
            return descriptor;
    }
    return -1;
}

} // namespace

CFileReplacement::~CFileReplacement()
{
    abandon();
}

std::FILE* CFileReplacement::open()
{
    // A link stays a link: the file behind it is the one replaced.
    std::error_code error;
    if (std::filesystem::is_symlink(m_path, error)) {
        const std::filesystem::path target = std::filesystem::canonical(m_path, error);
        if (!error)
            m_path = target.string();
    }
    struct stat old = {};
    const bool exists = stat(m_path.c_str(), &old) == 0;
    const bool missing = !exists && errno == ENOENT;
    // A file that its owner made read-only stays as it is, as it would for a plain write: the
    // rename below would otherwise replace it all the same.
    if (exists && S_ISREG(old.st_mode) && access(m_path.c_str(), W_OK) != 0)
        return nullptr;
    if (exists && S_ISREG(old.st_mode)) {
        if (std::FILE* file = openBeside(old.st_mode & 07777, Permissions::Exactly))
            return file;
        // A folder we may not create files in can still hold a file we may overwrite. Any other
        // failure (a full disk, too many open files) would as likely cut the old file short, and
        // a file to be published later must not be seen before then.
        if ((errno != EACCES && errno != EPERM) || m_publishing == Publishing::Separately)
            return nullptr;
    } else if (missing) {
        if (m_publishing == Publishing::Separately)
            return openBeside(0666, Permissions::OfANewFile);
        m_createdNew = true;
    }
    m_file = OpenStdioFile(m_path, "wb");
    if (!m_file)
        m_createdNew = false;
    return m_file.get();
}

// The new contents go to a file beside the old one, or beside the place of a file yet to be made.
std::FILE* CFileReplacement::openBeside(unsigned mode, Permissions permissions)
{
    std::string temporary;
    const int descriptor = createBeside(m_path, static_cast<mode_t>(mode), temporary);
    if (descriptor < 0)
        return nullptr;
    // Unlike the mode of the creation, this is not cut by the umask.
    if (permissions == Permissions::Exactly)
        fchmod(descriptor, static_cast<mode_t>(mode));
    m_file.reset(fdopen(descriptor, "wb"));
    if (!m_file) {
        const int error = errno;
        close(descriptor);
        unlink(temporary.c_str());
        errno = error;
        return nullptr;
    }
    m_temporary = std::move(temporary);
    return m_file.get();
}

int CFileReplacement::commit()
{
    if (!m_file)
        return EBADF;
    const int error = CloseWrittenFile(m_file);
    if (error != 0) {
        abandon();
        return error;
    }
    m_committed = true;
    if (m_publishing == Publishing::OnCommit)
        return publish();
    return 0;
}

int CFileReplacement::publish()
{
    if (!m_committed)
        return EBADF;
    if (!m_temporary.empty() && rename(m_temporary.c_str(), m_path.c_str()) != 0) {
        const int error = errno;
        abandon();
        return error;
    }
    m_temporary.clear();
    m_createdNew = false;
    m_committed = false;
    return 0;
}

void CFileReplacement::abandon()
{
    m_file.reset();
    if (!m_temporary.empty())
        unlink(m_temporary.c_str());
    else if (m_createdNew)
        unlink(m_path.c_str());
    m_temporary.clear();
    m_createdNew = false;
    m_committed = false;
}
