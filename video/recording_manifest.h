#pragma once

// The manifest a recording writes beside its images: a row for every file that reached the
// folder, telling the frame it holds.

#include "platform/error.h"
#include "video/picture_coding.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::string_view kManifestFileName = "frames.csv";

struct ManifestRow
{
    std::string file; // the file's name in the folder
    int frame = 0;
    std::chrono::nanoseconds time{0};
    bool key = false;
    PictureType type = PictureType::Unknown; // as the decoder made the picture
    std::optional<std::uint32_t> bytes;      // the frame's stored size, when it can be read
};

// The manifest's text: the header "file,frame,time,key,type,bytes" and a line per row, the time
// in seconds to the microsecond, key 1 or 0, the type as a letter (empty when unknown) and the
// stored size (empty when unknown). Names holding a comma, a quote or a line break are quoted.
std::string ManifestText(const std::vector<ManifestRow>& rows);

// Writes folder/frames.csv whole, or leaves what was there.
Outcome WriteManifest(std::string_view folder, const std::vector<ManifestRow>& rows);
