#include "support/bmp_builder.h"

#include "image/byte_order.h"

std::vector<std::uint8_t> BuildBmpFile(const BmpFileSpec& spec)
{
    const bool core = spec.headerSize == 12;
    const bool masksAfterHeader = spec.headerSize == 40 && !spec.masks.empty();
    const size_t entrySize = core ? 3 : 4;
    const size_t tableStart = 14 + spec.headerSize + (masksAfterHeader ? 4 * spec.masks.size() : 0);
    const size_t pixelOffset = tableStart + entrySize * spec.palette.size() + spec.gap;

    std::vector<std::uint8_t> file(pixelOffset + spec.pixels.size(), 0);
    file[0] = 'B';
    file[1] = 'M';
    WriteLE32(&file[2], static_cast<std::uint32_t>(file.size()));
    WriteLE32(&file[10], static_cast<std::uint32_t>(pixelOffset));

    std::uint8_t* h = &file[14];
    WriteLE32(h, spec.headerSize);
    if (core) {
        WriteLE16(h + 4, static_cast<std::uint16_t>(spec.width));
        WriteLE16(h + 6, static_cast<std::uint16_t>(spec.height));
        WriteLE16(h + 8, 1);
        WriteLE16(h + 10, static_cast<std::uint16_t>(spec.bitCount));
    } else {
        WriteLE32(h + 4, static_cast<std::uint32_t>(spec.width));
        WriteLE32(h + 8, static_cast<std::uint32_t>(spec.height));
        WriteLE16(h + 12, 1);
        WriteLE16(h + 14, static_cast<std::uint16_t>(spec.bitCount));
        if (spec.headerSize >= 40) {
            WriteLE32(h + 16, spec.compression);
            WriteLE32(h + 20, spec.imageSize);
            WriteLE32(h + 32, spec.colorsUsed);
        }
        for (size_t i = 0; i < spec.masks.size(); ++i)
            WriteLE32(h + 40 + 4 * i, spec.masks[i]);
    }
    for (size_t i = 0; i < spec.palette.size(); ++i) {
        std::uint8_t* entry = &file[tableStart + entrySize * i];
        entry[0] = spec.palette[i].blue;
        entry[1] = spec.palette[i].green;
        entry[2] = spec.palette[i].red;
    }
    std::copy(spec.pixels.begin(), spec.pixels.end(), file.begin() + pixelOffset);
    return file;
}
