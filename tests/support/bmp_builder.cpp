#include "support/bmp_builder.h"

#include "image/byte_order.h"

std::vector<std::uint8_t> BuildBmpFile(const BmpFileLayout& layout)
{
    const bool core = layout.headerSize == 12;
    const bool masksAfterHeader = layout.headerSize == 40 && !layout.masks.empty();
    const size_t entrySize = core ? 3 : 4;
    const size_t tableStart =
        14 + layout.headerSize + (masksAfterHeader ? 4 * layout.masks.size() : 0);
    const size_t pixelOffset = tableStart + entrySize * layout.palette.size() + layout.gap;

    std::vector<std::uint8_t> file(pixelOffset + layout.pixels.size(), 0);
    file[0] = 'B';
    file[1] = 'M';
    WriteLE32(&file[2], static_cast<std::uint32_t>(file.size()));
    WriteLE32(&file[10], static_cast<std::uint32_t>(pixelOffset));

    std::uint8_t* h = &file[14];
    WriteLE32(h, layout.headerSize);
    if (core) {
        WriteLE16(h + 4, static_cast<std::uint16_t>(layout.width));
        WriteLE16(h + 6, static_cast<std::uint16_t>(layout.height));
        WriteLE16(h + 8, 1);
        WriteLE16(h + 10, static_cast<std::uint16_t>(layout.bitCount));
    } else {
        WriteLE32(h + 4, static_cast<std::uint32_t>(layout.width));
        WriteLE32(h + 8, static_cast<std::uint32_t>(layout.height));
        WriteLE16(h + 12, 1);
        WriteLE16(h + 14, static_cast<std::uint16_t>(layout.bitCount));
        if (layout.headerSize >= 40) {
            WriteLE32(h + 16, layout.compression);
            WriteLE32(h + 20, layout.imageSize);
            WriteLE32(h + 32, layout.colorsUsed);
        }
        for (size_t i = 0; i < layout.masks.size(); ++i)
            WriteLE32(h + 40 + 4 * i, layout.masks[i]);
    }
    for (size_t i = 0; i < layout.palette.size(); ++i) {
        std::uint8_t* entry = &file[tableStart + entrySize * i];
        entry[0] = layout.palette[i].blue;
        entry[1] = layout.palette[i].green;
        entry[2] = layout.palette[i].red;
    }
    std::copy(layout.pixels.begin(), layout.pixels.end(), file.begin() + pixelOffset);
    return file;
}
