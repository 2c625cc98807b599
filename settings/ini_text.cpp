#include "settings/ini_text.h"

#include <algorithm>
#include <climits>

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

// What finishes an unfinished last line before a new one follows it. A lone CR at its end is
// already taken for the line's end by the reader, so it only needs its LF; any other break would
// make that CR part of the line's text.
std::string finishingBreak(std::string_view content, std::string_view lineBreak)
{
    if (content.empty() || content.ends_with('\n'))
        return {};
    return content.ends_with('\r') ? "\n" : std::string(lineBreak);
}

// A new section goes after a blank line so that sections stay apart, and never onto the end of an
// unfinished last line.
std::string sectionSeparator(std::string_view content, std::string_view lineBreak)
{
    const std::size_t start = byteOrderMarkLength(content);
    if (content.size() == start)
        return {};
    if (!content.ends_with('\n'))
        return finishingBreak(content, lineBreak) + std::string(lineBreak);
    const std::size_t previousBreak =
        content.size() >= 2 ? content.rfind('\n', content.size() - 2) : std::string_view::npos;
    const LineSpan last =
        lineAt(content, previousBreak == std::string_view::npos || previousBreak < start
                            ? start
                            : previousBreak + 1);
    const bool blank = trimmed(content.substr(last.begin, last.textEnd - last.begin)).empty();
    return blank ? std::string() : std::string(lineBreak);
}

constexpr char kQuote = '"';

bool isQuoted(std::string_view value)
{
    return value.size() >= 2 && value.front() == kQuote && value.back() == kQuote;
}

// A value that would lose its outer blanks, or its outer quotes, on the way back is stored
// inside a pair of quotes.
std::string storedValue(std::string_view value)
{
    const bool needsQuotes =
        !value.empty() && (isBlank(value.front()) || isBlank(value.back()) || isQuoted(value));
    return needsQuotes ? kQuote + std::string(value) + kQuote : std::string(value);
}

bool isStorableName(std::string_view name)
{
    return !name.empty() && !isBlank(name.front()) && !isBlank(name.back()) &&
           name.find_first_of("\r\n") == std::string_view::npos;
}

} // namespace

std::optional<std::string_view> IniValue(std::string_view content, std::string_view section,
                                         std::string_view key)
{
    const KeyLookup found = findKey(content, section, key);
    if (!found.line)
        return std::nullopt;
    const std::string_view value = found.value(content);
    return isQuoted(value) ? value.substr(1, value.size() - 2) : value;
}

std::string IniWithKey(std::string content, std::string_view section, std::string_view key,
                       std::string_view value)
{
    const KeyLookup found = findKey(content, section, key);
    const std::string_view lineBreak = lineBreakOf(content);
    const std::string stored = storedValue(value);
    const std::string entry = std::string(key) + "=" + stored + std::string(lineBreak);
    if (found.line) {
        const std::size_t begin = found.line->begin + found.entry.valueBegin;
        content.replace(begin, found.line->textEnd - begin, stored);
    } else if (found.sectionTail) {
        const std::size_t end = found.sectionTail->end;
        content.insert(end,
                       finishingBreak(std::string_view(content).substr(0, end), lineBreak) + entry);
    } else {
        content += sectionSeparator(content, lineBreak) + "[" + std::string(section) + "]" +
                   std::string(lineBreak) + entry;
    }
    return content;
}

bool IniCanStore(std::string_view section, std::string_view key, std::string_view value)
{
    return isStorableName(section) && section.find(']') == std::string_view::npos &&
           isStorableName(key) && key.find('=') == std::string_view::npos &&
           key.find_first_of(";#[") != 0 && value.find_first_of("\r\n") == std::string_view::npos;
}

int IniLeadingInt(std::string_view text)
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
