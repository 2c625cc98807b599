#include "settings/ini_file.h"

#include "platform/file_replacement.h"
#include "platform/stdio_file.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char asciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) { return asciiLower(x) == asciiLower(y); });
}

std::size_t byteOrderMarkLength(std::string_view content)
{
    return content.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

// One line of the file as offsets into it: the text without its line break, and the start of the
// next line.
struct LineSpan
{
    std::size_t begin = 0;
    std::size_t textEnd = 0;
    std::size_t end = 0;
};

LineSpan lineAt(std::string_view content, std::size_t begin)
{
    const std::size_t newline = content.find('\n', begin);
    LineSpan line{begin, newline == std::string_view::npos ? content.size() : newline, 0};
    line.end = newline == std::string_view::npos ? content.size() : newline + 1;
    if (line.textEnd > begin && content[line.textEnd - 1] == '\r')
        --line.textEnd;
    return line;
}

std::optional<std::string_view> sectionName(std::string_view text)
{
    text = trimmed(text);
    const std::size_t close = text.find(']');
    if (!text.starts_with('[') || close == std::string_view::npos)
        return std::nullopt;
    return trimmed(text.substr(1, close - 1));
}

// A "key=value" line, with the value as offsets into the line's text.
struct Entry
{
    std::string_view key;
    std::size_t valueBegin = 0;
    std::size_t valueEnd = 0;
};

std::optional<Entry> parseEntry(std::string_view text)
{
    const std::string_view content = trimmed(text);
    const std::size_t equals = text.find('=');
    if (content.empty() || content.front() == ';' || content.front() == '#' ||
        equals == std::string_view::npos)
        return std::nullopt;
    Entry entry{trimmed(text.substr(0, equals)), equals + 1, text.size()};
    while (entry.valueBegin < entry.valueEnd && isBlank(text[entry.valueBegin]))
        ++entry.valueBegin;
    while (entry.valueEnd > entry.valueBegin && isBlank(text[entry.valueEnd - 1]))
        --entry.valueEnd;
    if (entry.key.empty())
        return std::nullopt;
    return entry;
}

// What a read or a write needs to know about one key: where its value is, and where a new key of
// its section would go (after the section's last key, so that comments and blank lines leading
// into the next section stay with that section).
struct KeyLookup
{
    std::optional<LineSpan> sectionTail;
    std::optional<LineSpan> line;
    Entry entry;

    std::string_view value(std::string_view content) const
    {
        return content.substr(line->begin + entry.valueBegin, entry.valueEnd - entry.valueBegin);
    }
};

KeyLookup findKey(std::string_view content, std::string_view section, std::string_view key)
{
    KeyLookup found;
    bool inSection = false;
    for (std::size_t next = byteOrderMarkLength(content); next < content.size();) {
        const LineSpan line = lineAt(content, next);
        next = line.end;
        const std::string_view text = content.substr(line.begin, line.textEnd - line.begin);
        if (const auto name = sectionName(text)) {
            if (inSection)
                break;
            inSection = equalsIgnoringCase(*name, section);
            if (inSection)
                found.sectionTail = line;
            continue;
        }
        const auto entry = inSection ? parseEntry(text) : std::nullopt;
        if (!entry)
            continue;
        found.sectionTail = line;
        if (equalsIgnoringCase(entry->key, key)) {
            found.line = line;
            found.entry = *entry;
            break;
        }
    }
    return found;
}

// New lines end like the file's first line, so that a CRLF file stays one.
std::string_view lineBreakOf(std::string_view content)
{
    const std::size_t newline = content.find('\n');
    return newline != std::string_view::npos && newline > 0 && content[newline - 1] == '\r' ? "\r\n"
                                                                                            : "\n";
}

// A new section goes after a blank line so that sections stay apart, and never onto the end of an
// unfinished last line.
std::string sectionSeparator(std::string_view content, std::string_view lineBreak)
{
    const std::size_t start = byteOrderMarkLength(content);
    if (content.size() == start)
        return {};
    if (!content.ends_with('\n'))
        return std::string(lineBreak) + std::string(lineBreak);
    const std::size_t previousBreak =
        content.size() >= 2 ? content.rfind('\n', content.size() - 2) : std::string_view::npos;
    const LineSpan last =
        lineAt(content, previousBreak == std::string_view::npos || previousBreak < start
                            ? start
                            : previousBreak + 1);
    const bool blank = trimmed(content.substr(last.begin, last.textEnd - last.begin)).empty();
    return blank ? std::string() : std::string(lineBreak);
}

std::string withKey(std::string content, std::string_view section, std::string_view key,
                    std::string_view value)
{
    const KeyLookup found = findKey(content, section, key);
    const std::string_view lineBreak = lineBreakOf(content);
    const std::string entry = std::string(key) + "=" + std::string(value) + std::string(lineBreak);
    if (found.line) {
        const std::size_t begin = found.line->begin + found.entry.valueBegin;
        content.replace(begin, found.line->textEnd - begin, value);
    } else if (found.sectionTail) {
        const bool finished = content[found.sectionTail->end - 1] == '\n';
        content.insert(found.sectionTail->end, (finished ? "" : std::string(lineBreak)) + entry);
    } else {
        content += sectionSeparator(content, lineBreak) + "[" + std::string(section) + "]" +
                   std::string(lineBreak) + entry;
    }
    return content;
}

bool isStorableName(std::string_view name)
{
    return !name.empty() && !isBlank(name.front()) && !isBlank(name.back()) &&
           name.find_first_of("\r\n") == std::string_view::npos;
}

// Refuses what would not read back as written, or would break the lines around it.
bool canStore(std::string_view section, std::string_view key, std::string_view value)
{
    return isStorableName(section) && section.find(']') == std::string_view::npos &&
           isStorableName(key) && key.find('=') == std::string_view::npos &&
           key.find_first_of(";#[") != 0 && value.find_first_of("\r\n") == std::string_view::npos;
}

int parseLeadingInt(std::string_view text)
{
    const bool negative = text.starts_with('-');
    if (negative || text.starts_with('+'))
        text.remove_prefix(1);
    // Stop growing just past the int range; the clamp below then gives the nearest int.
    constexpr long long kLimit = static_cast<long long>(INT_MAX) + 1;
    long long magnitude = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            break;
        magnitude = std::min(magnitude * 10 + (c - '0'), kLimit);
    }
    return static_cast<int>(std::clamp(negative ? -magnitude : magnitude,
                                       static_cast<long long>(INT_MIN),
                                       static_cast<long long>(INT_MAX)));
}

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
    const KeyLookup found = findKey(content, section, key);
    return std::string(found.line ? found.value(content) : fallback);
}

int CIniFile::readInt(std::string_view section, std::string_view key, int fallback) const
{
    const std::string content = readFile(m_path).value_or(std::string());
    const KeyLookup found = findKey(content, section, key);
    if (!found.line || found.value(content).empty())
        return fallback;
    return parseLeadingInt(found.value(content));
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
        if (!canStore(section, key, value))
            return failWrite("the value holds a line break or the name can't be stored");
    }
    errno = 0;
    std::optional<std::string> content = readFile(m_path);
    if (!content)
        return failWrite(std::strerror(errno != 0 ? errno : EIO));
    for (const auto& [key, value] : keyValues)
        *content = withKey(std::move(*content), section, key, value);
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
