#pragma once

#include <cstdint>

// The picture area that frames are drawn into.
class FrameDisplay
{
public:
    virtual ~FrameDisplay() = default;

    // Draws a packed DIB (40-byte header, then rows bottom-up) unscaled with its top-left corner
    // at the area's top-left corner. width and height are the ones in the DIB's header; the
    // pixels start at DibPixelData(packedDib). The DIB is only valid during the call.
    virtual void drawPackedDib(const std::uint8_t* packedDib, int width, int height) = 0;
    // Shows that the frame asked for has no picture (it could not be decoded), rather than
    // leaving the picture of another frame under its number.
    virtual void showNoPicture() {}
};
