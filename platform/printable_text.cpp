#include "platform/printable_text.h"

#include <cstdio>

namespace {

// The length of the UTF-8 sequence that starts at text[i], or 0 when none does.
std::size_t sequenceLength(std::string_view text, std::size_t i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80                    ? 1
                               : lead >= 0xC2 && lead <= 0xDF ? 2
                               : lead >= 0xE0 && lead <= 0xEF ? 3
                               : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                              : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return 0;
    }
    // Overlong forms, surrogates and code points past U+10FFFF are not UTF-8 either.
    const auto second = length > 1 ? static_cast<unsigned char>(text[i + 1]) : 0x80;
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second > 0x8F))
        return 0;
    return length;
}

} // namespace

std::string Printable(std::string_view text)
{
    std::string printable;
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const std::size_t length = sequenceLength(text, i);
        if (length > 0 && byte >= 0x20 && byte != 0x7F) {
            printable.append(text.substr(i, length));
            i += length;
            continue;
        }
        if (byte == '\n') {
            printable += "\\n";
        } else if (byte == '\t') {
            printable += "\\t";
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            printable += escape;
        }
        ++i;
    }
    return printable;
}
