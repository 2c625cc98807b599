#pragma once

#include "platform/error.h"
#include "video/video_reader.h"

#include <string>

class FrameDisplay;
class FrameSourceOwner;

// Opens a video on a worker thread while the owner waits on the user-interface thread, so that
// the owner's windows stay in use while a long file is read through. Once the open has taken
// longer than a moment, the owner hears how far the read has got every few hundredths of a
// second (and handles its events then; its answer false stops the read), and the file's first
// picture, decoded on a thread of its own, is shown in the display. The reader is closed while
// the open runs: nothing the owner does meanwhile reaches the half-open file.
Outcome OpenWhileOwnerWaits(VideoReader& reader, const std::string& path, WantFrames wantFrames,
                            FrameSourceOwner& owner, FrameDisplay* display);
