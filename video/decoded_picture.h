#pragma once

#include "video/av_handles.h"

#include <cstddef>
#include <memory>

// A picture as the decoder made it (its planes in the codec's own pixel format) and the frame it
// shows. Nothing changes it once it is made, so the frame cache, the frame source and the workers
// that save frames may hold it at the same time; the decoder's buffers are released when the last
// of them lets go.
struct DecodedPicture
{
    AvFramePtr frame;
    int number = 0;

    // The memory the picture keeps from being reused.
    std::size_t bytes() const
    {
        std::size_t total = 0;
        for (const AVBufferRef* buffer : frame->buf)
            total += buffer ? buffer->size : 0;
        return total;
    }
};

using DecodedPicturePtr = std::shared_ptr<const DecodedPicture>;
