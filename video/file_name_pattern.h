#pragma once

// The names a recording gives its files.

#include "platform/error.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What a file's name may tell of the frame it holds.
struct NamedFrame
{
    std::string_view video; // the video's path; only its base name, without extension, is used
    int frame = 0;
    std::int64_t milliseconds = 0; // the frame's time
    int count = 1;                 // the file's place among those of the recording, from 1
};

// Plain text and placeholders: {frame} the frame number in six digits ({frame:N} in at least N,
// 1 to 10), {count} the file's place in the recording likewise, {name} the video's base name
// without its extension (control characters made "_"), {time} the frame's time as
// "00-01-23.456". The default, "{frame}", names frame 7 "000007".
class FileNamePattern
{
public:
    FileNamePattern();

    // The pattern text spells, or why it can't name a recording's files: it must hold {frame} or
    // {count}, so that no two files of a recording share a name, and no "/", no control
    // character and no leading ".", so that every file is a visible file of the target folder.
    static Result<FileNamePattern> Parse(std::string_view text);

    const std::string& text() const { return m_text; }
    // The frame's file name, without extension.
    std::string nameOf(const NamedFrame& frame) const;

private:
    enum class Field
    {
        Text,
        Frame,
        Count,
        Name,
        Time,
    };
    struct Part
    {
        Field field = Field::Text;
        std::string text; // of Text
        int width = 6;    // of Frame and Count
    };

    std::string m_text;
    std::vector<Part> m_parts;
};

inline constexpr std::string_view kDefaultFileNamePattern = "{frame}";
