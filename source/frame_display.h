#pragma once

#include <cstdint>
#include <memory>
#include <optional>

class ScreenPicture;

// Width and height in pixels.
struct PixelSize
{
    int width = 0;
    int height = 0;
};

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

    // The size a display that paints screen pictures shows frames of frameSize at, in device
    // pixels; none for one that takes packed DIBs.
    virtual std::optional<PixelSize> screenPictureSize(PixelSize frameSize) const
    {
        static_cast<void>(frameSize);
        return std::nullopt;
    }
    // Paints a picture of the size screenPictureSize gave, which the display may keep.
    virtual void drawScreenPicture(std::shared_ptr<const ScreenPicture> picture)
    {
        static_cast<void>(picture);
    }
};
