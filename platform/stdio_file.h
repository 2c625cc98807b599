#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

struct StdioFileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// An open stdio stream that is closed when it goes out of scope.
using StdioFile = std::unique_ptr<std::FILE, StdioFileCloser>;

StdioFile OpenStdioFile(const std::string& path, const char* mode);

// Flushes and closes a stream that was written to. Returns the errno of the first failure, or 0
// when everything written reached the file. The stream is closed in either case.
int CloseWrittenFile(StdioFile& file);

enum class ReadFileResult
{
    Ok,
    CannotOpen,
    Empty,
    TooLarge,
};

// Reads a whole file into memory; a file longer than maxBytes is TooLarge. A read error after a
// successful open throws CFileException. A folder counts as a file that cannot be opened.
ReadFileResult ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& contents,
                             std::size_t maxBytes);
