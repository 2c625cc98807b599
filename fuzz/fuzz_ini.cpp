// The settings file's text: read a key, change it, read it back. Input: section, key and value,
// each ended by a zero byte, then the file's text. The changed key reads back as written, and
// every other key of the file reads as before; at most one old line changes and at most three
// new ones come in.
#include "fuzz_check.h"
#include "settings/ini_text.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

std::string_view takePiece(std::string_view& input, std::string_view fallback)
{
    const std::size_t end = input.find('\0');
    if (end == std::string_view::npos)
        return fallback;
    const std::string_view piece = input.substr(0, end);
    input.remove_prefix(end + 1);
    return piece;
}

// The lines of a text without their line breaks; a last line break opens no further line.
std::vector<std::string_view> linesOf(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

bool sameName(std::string_view a, std::string_view b)
{
    return std::ranges::equal(a, b, [](char x, char y) {
        return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
    });
}

// The section and key names a file's lines seem to hold, roughly as a reader would see them:
// enough to ask the real reader about each of them before and after the change.
std::vector<std::pair<std::string_view, std::string_view>> namesOf(std::string_view content)
{
    std::vector<std::pair<std::string_view, std::string_view>> names;
    std::string_view section;
    for (const std::string_view line : linesOf(content)) {
        const std::string_view text = trimmed(line);
        if (text.starts_with('[') && text.find(']') != std::string_view::npos) {
            section = trimmed(text.substr(1, text.find(']') - 1));
        } else if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
            names.emplace_back(section, trimmed(line.substr(0, equals)));
        }
        if (names.size() == 64)
            break;
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view section = takePiece(input, "Option");
    const std::string_view key = takePiece(input, "OPTION_JPEG");
    const std::string_view value = takePiece(input, "1");
    const std::string_view content = input;

    IniLeadingInt(IniValue(content, section, key).value_or(""));
    if (!IniCanStore(section, key, value))
        return 0;
    const std::string changed = IniWithKey(std::string(content), section, key, value);
    FUZZ_CHECK(IniValue(changed, section, key) == value);

    for (const auto& [otherSection, otherKey] : namesOf(content)) {
        if (sameName(otherSection, section) && sameName(otherKey, key))
            continue;
        FUZZ_CHECK(IniValue(content, otherSection, otherKey) ==
                   IniValue(changed, otherSection, otherKey));
    }

    const std::vector<std::string_view> before = linesOf(content);
    const std::vector<std::string_view> after = linesOf(changed);
    std::size_t head = 0;
    while (head < before.size() && head < after.size() && before[head] == after[head])
        ++head;
    std::size_t tail = 0;
    while (tail < before.size() - head && tail < after.size() - head &&
           before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
        ++tail;
    FUZZ_CHECK(before.size() - head - tail <= 1);
    FUZZ_CHECK(after.size() - head - tail <= 3);
    return 0;
}
