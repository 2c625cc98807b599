#pragma once

#include <chrono>

// The time that playback keeps pace with. The windows wait through their event loop, so that
// the user's commands are handled while a frame waits for its time; tests use a clock of their
// own that moves only when it is waited on.
class PlaybackClock
{
public:
    using Time = std::chrono::nanoseconds; // since any fixed point

    virtual ~PlaybackClock() = default;

    virtual Time now() const = 0;
    // Handles the owner's events until deadline; may return earlier, as soon as an event has been
    // handled, so that the caller can look at its stop request.
    virtual void waitUntil(Time deadline) = 0;
};
