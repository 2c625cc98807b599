#pragma once

#include "video/decoded_picture.h"

#include <functional>

// The decoded picture of one frame, and where a conversion needs them the pictures of the frames
// either side (null beyond the first and the last frame), as a deinterlacer looks at them.
struct PictureWindow
{
    int frame = 0;
    DecodedPicturePtr previous;
    DecodedPicturePtr picture;
    DecodedPicturePtr next;
};

// The window of frame `frame` of the frames first to last, with the neighbours only when they are
// asked for. Pictures that held, the window of an earlier frame, already has are taken from it,
// so that stepping on by one frame decodes just the next one; the others come from decode, in
// frame order, which keeps a decoder that reads on from having to seek.
PictureWindow FetchPictureWindow(int frame, int first, int last, bool neighbours,
                                 const PictureWindow& held,
                                 const std::function<DecodedPicturePtr(int)>& decode);
