#pragma once

#include "video/av_handles.h"

#include <cstddef>
#include <cstdint>

// A frame's picture made for a screen: 32-bit rows (blue, green, red and one unused byte),
// top-down, at the size it is shown at. Whoever paints it may keep it as long as it likes; the
// reader makes the next picture elsewhere meanwhile.
class ScreenPicture
{
public:
    explicit ScreenPicture(AvFramePtr frame) : m_frame(std::move(frame)) {}

    int width() const { return m_frame->width; }
    int height() const { return m_frame->height; }
    const std::uint8_t* pixels() const { return m_frame->data[0]; }
    std::ptrdiff_t stride() const { return m_frame->linesize[0]; }
    AVFrame& frame() { return *m_frame; }

private:
    AvFramePtr m_frame;
};
