#pragma once

#include <cstdint>
#include <string>
#include <vector>

// AVI files written byte by byte, for what the ffmpeg tool won't write: a stream that starts at
// a later sample, dropped frames, an exact rate and scale, a file of an exact size, a header that
// lies. Frames are uncompressed 24-bit DIB rows, bottom-up and padded to four bytes.
struct RawAvi
{
    int width = 4;
    int height = 2;
    std::uint32_t rate = 25;
    std::uint32_t scale = 1;
    std::uint32_t start = 0;
    std::uint32_t compression = 0; // a four-character code; 0 is uncompressed
    // One entry a sample; an empty one is a dropped frame: an empty chunk, size 0 in the index.
    std::vector<std::vector<std::uint8_t>> frames;
    bool withIndex = true;
    std::size_t padTo = 0; // a JUNK chunk at the end brings the file to this size
};

// frames distinct frames of width x height.
RawAvi makeRawAvi(int width, int height, int frames);
std::vector<std::uint8_t> rawAviBytes(const RawAvi& avi);
std::string writeRawAvi(const std::string& path, const RawAvi& avi);
