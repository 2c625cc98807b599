// The folder search's wildcard matcher against a plain dynamic-programming matcher of the same
// rules: '*' takes any run of characters, '?' one character, other characters match themselves
// without regard to ASCII case; a character is a whole UTF-8 sequence or any other single byte.
// Input: the pattern, a zero byte, the name.
#include "batch/srch_dir.h"
#include "fuzz_check.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t nextCharacter(std::string_view text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 1;
    if (i + length > text.size())
        return i + 1;
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return i + 1;
    }
    return i + length;
}

std::string_view characterAt(std::string_view text, std::size_t i)
{
    return text.substr(i, nextCharacter(text, i) - i);
}

bool sameCharacter(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [](char x, char y) { return lower(x) == lower(y); });
}

bool referenceMatch(std::string_view name, std::string_view pattern)
{
    // matches[p][n]: whether pattern from p matches name from n.
    const std::size_t width = name.size() + 1;
    std::vector<char> matches((pattern.size() + 1) * width, 0);
    auto at = [&](std::size_t p, std::size_t n) -> char& { return matches[p * width + n]; };
    for (std::size_t p = pattern.size() + 1; p-- > 0;) {
        for (std::size_t n = name.size() + 1; n-- > 0;) {
            bool match = false;
            if (p == pattern.size())
                match = n == name.size();
            else if (pattern[p] == '*')
                match = at(p + 1, n) || (n < name.size() && at(p, nextCharacter(name, n)));
            else if (n == name.size())
                match = false;
            else if (pattern[p] == '?')
                match = at(p + 1, nextCharacter(name, n));
            else
                match = sameCharacter(characterAt(pattern, p), characterAt(name, n)) &&
                        at(nextCharacter(pattern, p), nextCharacter(name, n));
            at(p, n) = match;
        }
    }
    return at(0, 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    if (split == std::string_view::npos || split > 128 || size - split > 512)
        return 0;
    const std::string_view pattern = input.substr(0, split);
    const std::string_view name = input.substr(split + 1);
    FUZZ_CHECK(MatchesWildcard(name, pattern) == referenceMatch(name, pattern));
    return 0;
}
