#pragma once

#include "platform/error.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

// The keys of an INI file as one read of it found them, for an operation that reads several.
class CIniReading
{
public:
    explicit CIniReading(std::string content = {}) : m_content(std::move(content)) {}

    // The key's value, whole, or fallback when the section or the key is missing.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback) const;

    // The signed decimal number the key's value starts with, or 0 when it starts with none.
    // A value beyond the int range gives the nearest int. Gives fallback when the section or the
    // key is missing, and also when the value is empty.
    int readInt(std::string_view section, std::string_view key, int fallback) const;

    // For integer keys that only count when stored: the value, if it is present and 0 or more.
    std::optional<int> readNonNegativeInt(std::string_view section, std::string_view key) const;

private:
    std::string m_content;
};

// One INI file on disk, read and written a key at a time.
//
// Every operation goes to the file itself: nothing is cached, so two running copies of the
// program that share the file each see the other's writes, and the last writer of a key wins.
// An operation that reads several keys reads the file once, through read().
//
// A path that is no regular file (a pipe, which would never end, or a device), or a file larger
// than any settings file can be (kMostIniFileBytes), is left alone: reads give the defaults and
// writes fail, and readRefusal() says why.
//
// The format: a line "[name]" opens a section, a line "key=value" under it holds one value.
// Section and key names match without regard to ASCII case; blanks around names, around the
// "=" and at the end of a value are ignored. A value enclosed in double quotes is read without
// them, as the Windows profile functions read it; a value with leading or trailing blanks, or one
// enclosed in quotes itself (a folder named so), is written inside a pair of quotes and so reads
// back whole.
// Lines whose first non-blank character is ';' or '#' are comments, and lines that are neither
// a section, a key nor a comment are ignored. Only the first section of a name counts, and in it
// only the first key of a name. Values run to the end of the line and may contain any character
// ('=', ';', '#' included) except a line break. Files with CRLF line ends and a leading UTF-8
// byte order mark are read, and written back with them.
class CIniFile
{
public:
    explicit CIniFile(std::filesystem::path path) : m_path(std::move(path)) {}

    const std::filesystem::path& path() const { return m_path; }

    // The file as it is now; a missing file, or one left alone, has no keys.
    CIniReading read() const;

    // One key, read as CIniReading reads it, from the file as it is now.
    std::string readString(std::string_view section, std::string_view key,
                           std::string_view fallback) const
    {
        return read().readString(section, key, fallback);
    }
    int readInt(std::string_view section, std::string_view key, int fallback) const
    {
        return read().readInt(section, key, fallback);
    }
    std::optional<int> readNonNegativeInt(std::string_view section, std::string_view key) const
    {
        return read().readNonNegativeInt(section, key);
    }

    // Why the last read left the file alone, as "the settings file PATH is left alone: REASON",
    // or empty when that read found a file it could read, or none.
    const std::string& readRefusal() const { return m_readRefusal; }

    // Replaces the key's value in place, or adds the key (and its section, and the file). Every
    // other line of the file keeps its bytes. The new file is written beside the old one and
    // renamed over it, so a failed write leaves the old file as it was. Returns false when the
    // write failed or the names or value cannot be stored in this format: a line break anywhere,
    // ']' in the section, '=' in the key or a key starting with ';', '#' or '[', or a name that
    // is empty or starts or ends with a blank.
    bool writeString(std::string_view section, std::string_view key, std::string_view value);

    // writeString for several keys of one section, in one replacement of the file: all of them
    // are written, or none when any cannot be stored.
    using KeyValue = std::pair<std::string_view, std::string_view>;
    bool writeStrings(std::string_view section, std::span<const KeyValue> keyValues);

    // Why the most recent write that failed could not be done, the error's path being this file;
    // a later write that succeeds leaves it as it is.
    const std::optional<Error>& writeError() const { return m_writeError; }

private:
    bool failWrite(Error reason);

    std::filesystem::path m_path;
    std::optional<Error> m_writeError;
    mutable std::string m_readRefusal;
};

// No settings file the program writes comes near this size.
inline constexpr std::size_t kMostIniFileBytes = std::size_t(1) << 20;

// Writes an integer key of file as signed decimal text.
bool WriteIniInt(std::string_view section, std::string_view key, int value, CIniFile& file);
