#include "platform/stdio_file.h"

#include "platform/exception.h"

#include <cerrno>
#include <new>

#include <sys/stat.h>

StdioFile OpenStdioFile(const std::string& path, const char* mode)
{
    return StdioFile(std::fopen(path.c_str(), mode));
}

int CloseWrittenFile(StdioFile& file)
{
    int error = 0;
    if (std::fflush(file.get()) != 0 || std::ferror(file.get()))
        error = errno ? errno : EIO;
    if (std::fclose(file.release()) != 0 && error == 0)
        error = errno ? errno : EIO;
    return error;
}

ReadFileResult ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& contents,
                             std::size_t maxBytes)
{
    StdioFile file = OpenStdioFile(path, "rb");
    if (!file)
        return ReadFileResult::CannotOpen;

    // A folder opens fine here and only fails on the first read; it is no file to read.
    struct stat info = {};
    if (fstat(fileno(file.get()), &info) != 0 || S_ISDIR(info.st_mode))
        return ReadFileResult::CannotOpen;
    if (std::fseek(file.get(), 0, SEEK_END) != 0)
        return ReadFileResult::CannotOpen;
    const long length = std::ftell(file.get());
    if (length < 0)
        return ReadFileResult::CannotOpen;
    if (length == 0)
        return ReadFileResult::Empty;
    if (static_cast<unsigned long>(length) > maxBytes)
        return ReadFileResult::TooLarge;
    std::rewind(file.get());

    try {
        contents.resize(static_cast<size_t>(length));
    } catch (const std::bad_alloc&) {
        return ReadFileResult::TooLarge;
    }
    const size_t got = std::fread(contents.data(), 1, contents.size(), file.get());
    if (got != contents.size()) {
        const int error = std::ferror(file.get()) ? (errno ? errno : EIO) : 0;
        if (error != 0)
            throw CFileException(path, error);
        contents.resize(got); // the file shrank while we read it
    }
    return contents.empty() ? ReadFileResult::Empty : ReadFileResult::Ok;
}
