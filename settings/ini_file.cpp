#include "settings/ini_file.h"

#include "platform/file_replacement.h"
#include "platform/stdio_file.h"
#include "settings/ini_text.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Why a file of that status is not read; nothing when it may be.
std::optional<Failure> leftAlone(const struct stat& status)
{
    if (!S_ISREG(status.st_mode))
        return Failure::NotRegularFile;
    if (static_cast<std::uintmax_t>(status.st_size) > kMostIniFileBytes)
        return Failure::SettingsTooLarge;
    return std::nullopt;
}

// Opens a file that stat found, unless it is to be left alone. The path was looked at before it
// is opened, so that no pipe or device is opened at all; the open never waits for a pipe's
// writer, should one have taken the file's place meanwhile, and what it opened is looked at
// again.
StdioFile openToRead(const fs::path& path, struct stat status, Error& refusal)
{
    if (const std::optional<Failure> reason = leftAlone(status)) {
        refusal = Error{*reason, path.string()};
        return nullptr;
    }
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    StdioFile file(descriptor >= 0 ? fdopen(descriptor, "rb") : nullptr);
    if (!file) {
        refusal = Error{Failure::System, path.string(), errno};
        if (descriptor >= 0)
            close(descriptor);
        return nullptr;
    }
    if (fstat(fileno(file.get()), &status) != 0) {
        refusal = Error{Failure::System, path.string(), errno};
        return nullptr;
    }
    if (const std::optional<Failure> reason = leftAlone(status)) {
        refusal = Error{*reason, path.string()};
        return nullptr;
    }
    return file;
}

// The file's bytes; a missing file reads as empty. Nothing, with the reason, when it exists but
// is left alone: it can't be read, it is no regular file, or it is larger than a settings file
// can be. A write must not mistake any of these for an empty file.
std::optional<std::string> readFile(const fs::path& path, Error& refusal)
{
    struct stat status = {};
    if (stat(path.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return std::optional<std::string>(std::in_place);
        refusal = Error{Failure::System, path.string(), errno};
        return std::nullopt;
    }
    StdioFile file = openToRead(path, status, refusal);
    if (!file)
        return std::nullopt;
    std::string content;
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        content.append(buffer, got);
        // A file that grew while it was read is as large as one that was.
        if (content.size() > kMostIniFileBytes) {
            refusal = Error{Failure::SettingsTooLarge, path.string()};
            return std::nullopt;
        }
    }
    if (std::ferror(file.get())) {
        refusal = Error{Failure::System, path.string(), errno != 0 ? errno : EIO};
        return std::nullopt;
    }
    return content;
}

// Writes the whole new file beside the old one, flushed to the disk, and renames it over, so that
// the old file is only ever replaced by a complete new one.
// Returns 0 or the errno of the failure.
int replaceFile(const fs::path& target, std::string_view content)
{
    // The settings file may live behind a link, in a folder of dotfiles: the link stays.
    CFileReplacement file(target.string(), Publishing::OnCommit, Links::Follow);
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

std::string CIniReading::readString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const
{
    return std::string(IniValue(m_content, section, key).value_or(fallback));
}

int CIniReading::readInt(std::string_view section, std::string_view key, int fallback) const
{
    const std::optional<std::string_view> value = IniValue(m_content, section, key);
    if (!value || value->empty())
        return fallback;
    return IniLeadingInt(*value);
}

std::optional<int> CIniReading::readNonNegativeInt(std::string_view section,
                                                   std::string_view key) const
{
    const int value = readInt(section, key, -1);
    return value >= 0 ? std::optional<int>(value) : std::nullopt;
}

CIniReading CIniFile::read() const
{
    Error refusal;
    std::optional<std::string> content = readFile(m_path, refusal);
    m_readRefusal.clear();
    if (!content) {
        m_readRefusal =
            "the settings file " + m_path.string() + " is left alone: " + EnglishText(refusal);
        return CIniReading();
    }
    return CIniReading(std::move(*content));
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
            return failWrite(Error{Failure::UnstorableSetting, m_path.string()});
    }
    Error refusal;
    std::optional<std::string> content = readFile(m_path, refusal);
    if (!content)
        return failWrite(refusal);
    for (const auto& [key, value] : keyValues)
        *content = IniWithKey(std::move(*content), section, key, value);
    if (const int error = replaceFile(m_path, *content))
        return failWrite(Error{Failure::System, m_path.string(), error});
    return true;
}

bool CIniFile::failWrite(Error reason)
{
    m_writeError = std::move(reason);
    return false;
}

bool WriteIniInt(std::string_view section, std::string_view key, int value, CIniFile& file)
{
    return file.writeString(section, key, std::to_string(value));
}
