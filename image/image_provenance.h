#pragma once

// Where a saved picture came from, for the files that have room to say so: PNG text chunks and a
// JPEG comment. BMP files have no such place and get nothing.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct ImageProvenance
{
    std::string source; // the video's path; only its base name is written
    int frame = 0;
    std::string time; // the frame's time as frame texts show it: "00:01:02.345"
};

// The longest source name written, in bytes after escaping; longer ones are cut at a character.
inline constexpr std::size_t kMaxProvenanceSourceBytes = 1024;

// One field of the provenance, under its keyword ("Source", "Frame", "Time"), as text that is
// valid UTF-8 without control characters: the source's base name with its odd bytes written as
// C escapes ("\x01", "\xFF"), at most kMaxProvenanceSourceBytes long.
struct ProvenanceField
{
    std::string_view keyword;
    std::string text;
};
std::vector<ProvenanceField> ProvenanceFields(const ImageProvenance& provenance);

// The fields as one comment, a "Keyword: text" line each: "Source: clip.avi\nFrame: 12\n...".
std::string ProvenanceComment(const ImageProvenance& provenance);
