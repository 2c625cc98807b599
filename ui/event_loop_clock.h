#pragma once

#include "video/playback_clock.h"

// The system's steady clock, waited on through Qt's event loop: events keep being handled while
// a frame waits for its time, and the wait ends as soon as one has been.
class EventLoopClock : public PlaybackClock
{
public:
    Time now() const override;
    void waitUntil(Time deadline) override;
};
