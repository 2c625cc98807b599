#pragma once

#include <cstdint>
#include <span>
#include <string>

class CDibImage;
class CFileReplacement;
struct ImageProvenance;

// Reads any PNG file into image as a 24-bit image: palettes and low bit depths are expanded, grey
// becomes three equal channels, 16-bit samples are cut to 8 bits, and transparency is composited
// over black. Returns 1 when decoded and 0 otherwise. A decoding error after the image was created
// leaves it holding the rows read so far.
int LoadPng(const std::string& path, CDibImage& image);
// The same, from a PNG held in memory.
int LoadPngData(std::span<const std::uint8_t> data, CDibImage& image);

enum class PngCompression
{
    Fast, // zlib level 1 and the Up filter: frame export and the batch tools
    Best, // zlib level 9 and adaptive filtering: pictures saved once
};

// Writes a 24-bit image as an 8-bit RGB PNG file. Without a provenance it has no optional chunks;
// with one, a text chunk for each of its fields before the pixels: tEXt, which holds Latin-1,
// for a field that is plain ASCII, and iTXt, which holds UTF-8, for a source name that is not.
// Returns 1 when the whole file was written and 0 otherwise.
int SavePng(const std::string& path, const CDibImage& image, PngCompression compression,
            const ImageProvenance* provenance = nullptr);
// The same into a file not yet opened, which is committed but left to its owner to publish.
int SavePng(CFileReplacement& file, const CDibImage& image, PngCompression compression,
            const ImageProvenance* provenance = nullptr);
