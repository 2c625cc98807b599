#pragma once

#include "video/filter_chain.h"
#include "video/picture_window.h"

#include <cstdint>

// Deinterlaces pictures with libavfilter's bwdif, one picture per frame, from the frame and the
// frames either side of it. The picture of a frame depends on those three pictures alone, so it
// is the same whether the frame was stepped to, jumped to or recorded; stepping on by one frame
// filters just that one.
class Deinterlacer
{
public:
    // The deinterlaced picture of window.picture; null when the filter can't take it.
    AvFramePtr deinterlace(const PictureWindow& window);

private:
    bool restart(const PictureWindow& window);
    bool push(const DecodedPicturePtr& picture);

    FilterChain m_chain;
    std::int64_t m_nextTime = 0;     // the time the next picture pushed is stamped with
    DecodedPicturePtr m_lastOut;     // the picture deinterlaced last
    DecodedPicturePtr m_pushedAfter; // the picture pushed after it; null once the end was
    bool m_ended = true;
};
