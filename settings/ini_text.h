#pragma once

// The text of an INI file, read and changed one key at a time, in the format that CIniFile
// describes. Nothing here touches the disk.

#include <optional>
#include <string>
#include <string_view>

// The value of the first key of that name in the first section of that name, as a view into
// content without the pair of double quotes it may be enclosed in; nothing when the section or
// the key is missing.
std::optional<std::string_view> IniValue(std::string_view content, std::string_view section,
                                         std::string_view key);

// content with the key's value replaced in place, or with the key added at the end of its
// section, or with the section and the key added at the end; every other line keeps its bytes.
// A value that would not read back whole is written in double quotes. Only for names and values
// that IniCanStore accepts.
std::string IniWithKey(std::string content, std::string_view section, std::string_view key,
                       std::string_view value);

// Whether a key can be stored so that it reads back as written without breaking the lines
// around it: no line break anywhere, no ']' in the section, no '=' in the key, a key not starting
// with ';', '#' or '[', and names that are not empty and neither start nor end with a blank.
bool IniCanStore(std::string_view section, std::string_view key, std::string_view value);

// The signed decimal number that text starts with, the nearest int when it is beyond the range;
// 0 when it starts with none.
int IniLeadingInt(std::string_view text);
