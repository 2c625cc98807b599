#pragma once

#include "video/frame_source_owner.h"

#include <cstdint>
#include <functional>

// Stands in for the control panel when a frame source runs without windows: shows the progress
// of a recording on standard error when that is a terminal, and hands scanned sizes on.
class ConsoleOwner : public FrameSourceOwner
{
public:
    enum class Progress
    {
        Hidden,
        Shown,
    };

    explicit ConsoleOwner(Progress progress) : m_progress(progress) {}
    ~ConsoleOwner() override;

    // Where the stored sizes of a scan go, one call a sample.
    void setSizeReceiver(std::function<void(std::uint32_t)> receiver)
    {
        m_sizeReceiver = std::move(receiver);
    }
    // The range that progress is shown against.
    void setRange(int from, int to);
    // Ends the progress line, so that what follows starts on a line of its own.
    void endProgressLine();

    void setFrameText(FrameTextControl control, const std::string& text) override;
    void setSliderPosition(int frame) override;
    void receiveSampleSize(std::uint32_t bytes) override;

private:
    Progress m_progress;
    int m_from = 0;
    int m_to = 0;
    bool m_lineShown = false;
    std::function<void(std::uint32_t)> m_sizeReceiver;
};
