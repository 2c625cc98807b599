#include "platform/file_replacement.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include <sys/stat.h>
#include <unistd.h>

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
        std::string temporary = m_path + ".XXXXXX";
        const int descriptor = mkstemp(temporary.data());
        if (descriptor >= 0) {
            // The new file takes the old one's permissions, not mkstemp's private ones.
            fchmod(descriptor, old.st_mode & 07777);
            m_file.reset(fdopen(descriptor, "wb"));
            if (!m_file) {
                close(descriptor);
                unlink(temporary.c_str());
                return nullptr;
            }
            m_temporary = std::move(temporary);
            return m_file.get();
        }
        // A folder we may not create files in can still hold a file we may overwrite.
    } else if (missing) {
        m_createdNew = true;
    }
    m_file = OpenStdioFile(m_path, "wb");
    if (!m_file)
        m_createdNew = false;
    return m_file.get();
}

int CFileReplacement::commit()
{
    if (!m_file)
        return EBADF;
    int error = CloseWrittenFile(m_file);
    if (error == 0 && !m_temporary.empty() && rename(m_temporary.c_str(), m_path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        abandon();
        return error;
    }
    m_temporary.clear();
    m_createdNew = false;
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
}
