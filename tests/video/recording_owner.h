#pragma once

#include "image/dib.h"
#include "source/frame_display.h"
#include "source/frame_source_owner.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// An owner window and a display that write down what a frame source tells them.

class RecordingOwner : public FrameSourceOwner
{
public:
    void setFrameText(FrameTextControl control, const std::string& text) override
    {
        texts[control] = text;
        ++textCalls;
    }
    void setSliderPosition(int frame) override { sliderPositions.push_back(frame); }
    void receiveSampleSize(std::uint32_t bytes) override { sizes.push_back(bytes); }
    void beginWaitCursor() override { ++waitCursorDepth; }
    void postCancel() override { ++cancels; }
    void endWaitCursor() override { --waitCursorDepth; }

    std::map<FrameTextControl, std::string> texts;
    int textCalls = 0;
    std::vector<int> sliderPositions;
    std::vector<std::uint32_t> sizes;
    int waitCursorDepth = 0;
    int cancels = 0;
};

class RecordingDisplay : public FrameDisplay
{
public:
    void drawPackedDib(const std::uint8_t* packedDib, int width, int height) override
    {
        ++draws;
        const auto bytes = static_cast<std::size_t>(DibStride(width, 24) * height);
        pixels.assign(DibPixelData(packedDib), DibPixelData(packedDib) + bytes);
    }
    void showNoPicture() override { pixels.clear(); }

    int draws = 0;
    std::vector<std::uint8_t> pixels;
};
