#include "platform/file_replacement.h"

#include <cerrno>
#include <filesystem>
#include <random>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links as the kernel follows before it gives up with ELOOP.
constexpr int kMostLinks = 40;

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The path with the links at its end followed to a file not yet made.
std::string followDanglingLinks(std::string path)
{
    for (int hop = 0; hop < kMostLinks; ++hop) {
        std::error_code error;
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error)
            break;
        path = target.is_absolute()
                   ? target.string()
                   : (std::filesystem::path(folderOf(path)) / target).lexically_normal().string();
    }
    return path;
}

// A short name in folder that no file has yet, starting with a dot so that file managers hide
// it: its length never depends on the name of the file it stands in for, which may already be
// as long as a name can be.
std::string hiddenName(const std::string& folder)
{
    static constexpr char kLetters[] =
        "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random(std::random_device{}());
    std::uniform_int_distribution<std::size_t> pick(0, sizeof kLetters - 2);
    std::string name = folder + "/.clipmint-";
    for (int i = 0; i < 6; ++i)
        name += kLetters[pick(random)];
    return name + ".tmp";
}

constexpr int kNameAttempts = 100;

// Creates a file of a hidden name in folder, as mkstemp does, but with the permissions a new
// file there would get (mode less the process's umask). Returns the descriptor, or -1 with
// errno set.
int createHidden(const std::string& folder, mode_t mode, std::string& name)
{
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = hiddenName(folder);
        const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor >= 0 || errno != EEXIST)
            return descriptor;
    }
    return -1;
}

// A file without a name is given one through /proc, which a process may do without privilege.
bool canNameUnnamedFiles()
{
    static const bool procMounted = access("/proc/self/fd", X_OK) == 0;
    return procMounted;
}

} // namespace

void CFileReplacement::Descriptor::reset(int descriptor)
{
    if (m_descriptor >= 0)
        close(m_descriptor);
    m_descriptor = descriptor;
}

CFileReplacement::~CFileReplacement()
{
    abandon();
}

std::FILE* CFileReplacement::open()
{
    if (m_links == Links::Follow) {
        // The links of /proc (/dev/stdout, say) lead to no path: what is behind them is no
        // regular file, and is written to through the link.
        struct stat target = {};
        if (stat(m_path.c_str(), &target) == 0) {
            if (!S_ISREG(target.st_mode))
                return openInPlace();
            std::error_code error;
            const std::filesystem::path file = std::filesystem::canonical(m_path, error);
            if (!error)
                m_path = file.string();
        } else if (errno == ENOENT) {
            m_path = followDanglingLinks(m_path);
        }
    }
    struct stat old = {};
    if (lstat(m_path.c_str(), &old) != 0)
        return errno == ENOENT ? openBeside(0666, Permissions::OfANewFile) : nullptr;
    // A link left after following kMostLinks of them is replaced too: the kernel would refuse
    // to follow it.
    if (S_ISLNK(old.st_mode))
        return openBeside(0666, Permissions::OfANewFile);
    if (!S_ISREG(old.st_mode))
        return openInPlace();
    // A file that its owner made read-only stays as it is, as it would for a plain write: the
    // rename below would otherwise replace it all the same.
    if (access(m_path.c_str(), W_OK) != 0)
        return nullptr;
    if (std::FILE* file = openBeside(old.st_mode & 07777, Permissions::Exactly))
        return file;
    // A folder we may not create files in can still hold a file we may overwrite. Any other
    // failure (a full disk, too many open files) would as likely cut the old file short, and
    // a file to be published later must not be seen before then.
    if ((errno != EACCES && errno != EPERM) || m_publishing == Publishing::Separately)
        return nullptr;
    return openInPlace();
}

std::FILE* CFileReplacement::openInPlace()
{
    m_file = OpenStdioFile(m_path, "wb");
    return m_file.get();
}

// The new contents go to a file beside the old one, or beside the place of a file yet to be made.
std::FILE* CFileReplacement::openBeside(unsigned mode, Permissions permissions)
{
    const std::string folder = folderOf(m_path);
    std::string temporary;
    int descriptor = -1;
    // Where the file system has no unnamed files, open() says so with EOPNOTSUPP (or EISDIR on
    // old kernels); any other failure would befall a named file too, which then reports it.
    if (canNameUnnamedFiles())
        descriptor = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, mode);
    const bool unnamed = descriptor >= 0;
    if (!unnamed)
        descriptor = createHidden(folder, static_cast<mode_t>(mode), temporary);
    if (descriptor < 0)
        return nullptr;
    // Unlike the mode of the creation, this is not cut by the umask.
    if (permissions == Permissions::Exactly)
        fchmod(descriptor, static_cast<mode_t>(mode));
    m_file.reset(fdopen(descriptor, "wb"));
    if (!m_file) {
        const int error = errno;
        close(descriptor);
        if (!unnamed)
            unlink(temporary.c_str());
        errno = error;
        return nullptr;
    }
    m_unnamed = unnamed;
    m_temporary = std::move(temporary);
    return m_file.get();
}

int CFileReplacement::commit()
{
    if (!m_file)
        return EBADF;
    // The stream's descriptor is the only hold on an unnamed file: a copy of it outlives the
    // stream until the file has its name.
    if (m_unnamed) {
        m_unnamedFile.reset(fcntl(fileno(m_file.get()), F_DUPFD_CLOEXEC, 0));
        if (m_unnamedFile.get() < 0) {
            const int error = errno;
            abandon();
            return error;
        }
    }
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
    int error = 0;
    if (m_unnamed)
        error = linkUnnamed();
    else if (!m_temporary.empty() && rename(m_temporary.c_str(), m_path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        abandon();
        return error;
    }
    m_temporary.clear();
    m_unnamedFile.reset();
    m_unnamed = false;
    m_committed = false;
    return 0;
}

// Gives the unnamed file its name. A link can't be made over an existing file (or link): then
// the file first gets a hidden name, which at once replaces the old one.
int CFileReplacement::linkUnnamed()
{
    const std::string self = "/proc/self/fd/" + std::to_string(m_unnamedFile.get());
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, m_path.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return 0;
    if (errno != EEXIST)
        return errno;
    const std::string folder = folderOf(m_path);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string hidden = hiddenName(folder);
        if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, hidden.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        if (rename(hidden.c_str(), m_path.c_str()) == 0)
            return 0;
        const int error = errno;
        unlink(hidden.c_str());
        return error;
    }
    return EEXIST;
}

void CFileReplacement::abandon()
{
    m_file.reset();
    m_unnamedFile.reset();
    if (!m_temporary.empty())
        unlink(m_temporary.c_str());
    m_temporary.clear();
    m_unnamed = false;
    m_committed = false;
}
