#pragma once

#include "source/frame_display.h"

#include <cstdint>
#include <string>

// The frame texts an owner shows.
enum class FrameTextControl
{
    FirstFrame,
    LastFrame,
    BeginMark,
    EndMark,
    CurrentFrame,
};

// The window a frame source reports to: the control panel, which shows frame texts and the frame
// slider, or the Bitrate dialog, which collects the sample sizes of a scan. The source calls it
// synchronously on the user-interface thread.
class FrameSourceOwner
{
public:
    virtual ~FrameSourceOwner() = default;

    virtual void setFrameText(FrameTextControl control, const std::string& text) = 0;
    // Moves the frame slider's thumb to frame and redraws the slider.
    virtual void setSliderPosition(int frame) = 0;
    // The stored size of one sample of a scan; samples arrive in frame order.
    virtual void receiveSampleSize(std::uint32_t bytes) = 0;

    // Bracket a seek, which may decode a whole group of pictures.
    virtual void beginWaitCursor() {}
    virtual void endWaitCursor() {}
    // How far the read through a file that Open needs has got, in thousandths of the file,
    // told every few hundredths of a second while the open runs on another thread; the owner
    // handles its events here. False stops the read, and Open fails.
    virtual bool showReadProgress(int permille)
    {
        static_cast<void>(permille);
        return true;
    }
    // While Open reads a file through, its first picture, of frameSize, is about to be shown in
    // the display: the owner makes room for it.
    virtual void prepareFirstPicture(PixelSize frameSize) { static_cast<void>(frameSize); }
    // Continues closing the program once a playback or recording loop that was asked to stop
    // for that has ended; the owner should handle it after the loop has returned.
    virtual void postCancel() {}
};
