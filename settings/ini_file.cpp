#include "settings/ini_file.h"

#include "platform/file_replacement.h"
#include "platform/stdio_file.h"
#include "settings/ini_text.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The file's bytes; a missing file reads as empty. Nothing when it exists but cannot be read,
// which a write must not mistake for an empty file.
std::optional<std::string> readFile(const fs::path& path)
{
    StdioFile file = OpenStdioFile(path.string(), "rb");
    if (!file)
        return errno == ENOENT || errno == ENOTDIR ? std::optional<std::string>(std::in_place)
                                                   : std::nullopt;
    std::string content;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        content.append(buffer, got);
    if (std::ferror(file.get()))
        return std::nullopt;
    return content;
}

// Writes the whole new file beside the old one, flushed to the disk, and renames it over, so that
// the old file is only ever replaced by a complete new one.
// Returns 0 or the errno of the failure.
int replaceFile(const fs::path& target, std::string_view content)
{
    CFileReplacement file(target.string());
    std::FILE* stream = file.open();
    if (!stream)
        return errno;
    const bool written = std::fwrite(content.data(), 1, content.size(), stream) == content.size() &&
                         std::fflush(stream) == 0 && fsync(fileno(stream)) == 0;
    if (!written)
        return errno != 0 ? errno : EIO;
    return file.commit();
}

} // namespace

std::string CIniFile::readString(std::string_view section, std::string_view key,
                                 std::string_view fallback) const
{
    const std::string content = readFile(m_path).value_or(std::string());
    return std::string(IniValue(content, section, key).value_or(fallback));
}

int CIniFile::readInt(std::string_view section, std::string_view key, int fallback) const
{
    const std::string content = readFile(m_path).value_or(std::string());
    const std::optional<std::string_view> value = IniValue(content, section, key);
    if (!value || value->empty())
        return fallback;
    return IniLeadingInt(*value);
}

std::optional<int> CIniFile::readNonNegativeInt(std::string_view section,
                                                std::string_view key) const
{
    const int value = readInt(section, key, -1);
    return value >= 0 ? std::optional<int>(value) : std::nullopt;
}

bool CIniFile::writeString(std::string_view section, std::string_view key, std::string_view value)
{
    const KeyValue keyValue{key, value};
    return writeStrings(section, std::span(&keyValue, 1));
}

bool CIniFile::writeStrings(std::string_view section, std::span<const KeyValue> keyValues)
{
    for (const auto& [key, value] : keyValues) {
        if (!IniCanStore(section, key, value))
            return failWrite("the value holds a line break or the name can't be stored");
    }
    errno = 0;
    std::optional<std::string> content = readFile(m_path);
    if (!content)
        return failWrite(std::strerror(errno != 0 ? errno : EIO));
    for (const auto& [key, value] : keyValues)
        *content = IniWithKey(std::move(*content), section, key, value);
    if (const int error = replaceFile(m_path, *content))
        return failWrite(std::strerror(error));
    return true;
}

bool CIniFile::failWrite(std::string_view reason)
{
    m_writeError = "the settings file " + m_path.string() + " can't be written: ";
    m_writeError += reason;
    return false;
}

bool WriteIniInt(std::string_view section, std::string_view key, int value, CIniFile& file)
{
    return file.writeString(section, key, std::to_string(value));
}
