#pragma once

#include <QImage>

#include <cstdint>

// A copy of a packed 24-bit DIB (40-byte header, rows bottom-up in blue, green, red order, each
// padded to four bytes) as an upright 32-bit image of the same size; the DIB need not outlive
// the call. A null image for a null DIB.
QImage ImageFromPackedDib(const std::uint8_t* packedDib);
