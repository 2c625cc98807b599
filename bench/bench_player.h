#pragma once

// What the drivers put where the player's windows would be: an owner that shows nothing and a
// display that takes each frame as the video window does, a screen picture at full size.

#include "source/frame_display.h"
#include "source/frame_source.h"
#include "source/frame_source_owner.h"
#include "video/screen_picture.h"

#include <cstdio>

class SilentOwner : public FrameSourceOwner
{
public:
    void setFrameText(FrameTextControl, const std::string&) override {}
    void setSliderPosition(int) override {}
    void receiveSampleSize(std::uint32_t) override {}
};

class ScreenDisplay : public FrameDisplay
{
public:
    void drawPackedDib(const std::uint8_t*, int, int) override { ++m_shown; }
    std::optional<PixelSize> screenPictureSize(PixelSize frameSize) const override
    {
        return frameSize;
    }
    void drawScreenPicture(std::shared_ptr<const ScreenPicture> picture) override
    {
        m_shown += picture != nullptr;
    }
    int shown() const { return m_shown; }

private:
    int m_shown = 0;
};

// Opens path as the player does; says so on standard error when it can't.
inline bool OpenAsThePlayerDoes(CFrameSource& source, FrameDisplay& display,
                                FrameSourceOwner& owner, const char* path, const char* driver)
{
    std::int64_t bitrate = 0;
    if (source.Open(path, &display, &owner, bitrate, WantFrames::Yes) && source.hasDecoder())
        return true;
    std::fprintf(stderr, "%s: can't open %s\n", driver, path);
    return false;
}
