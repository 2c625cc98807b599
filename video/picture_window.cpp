#include "video/picture_window.h"

#include <cstdint>

namespace {

// The held picture of frame `wanted`, when held has it.
DecodedPicturePtr heldPicture(const PictureWindow& held, int wanted)
{
    if (!held.picture)
        return nullptr;
    if (wanted == held.frame)
        return held.picture;
    if (std::int64_t(wanted) == std::int64_t(held.frame) - 1)
        return held.previous;
    if (std::int64_t(wanted) == std::int64_t(held.frame) + 1)
        return held.next;
    return nullptr;
}

} // namespace

PictureWindow FetchPictureWindow(int frame, int first, int last, bool neighbours,
                                 const PictureWindow& held,
                                 const std::function<DecodedPicturePtr(int)>& decode)
{
    const auto fetch = [&](int wanted) -> DecodedPicturePtr {
        if (DecodedPicturePtr picture = heldPicture(held, wanted))
            return picture;
        return decode(wanted);
    };
    PictureWindow window;
    window.frame = frame;
    if (neighbours && frame > first)
        window.previous = fetch(frame - 1);
    window.picture = fetch(frame);
    if (neighbours && window.picture && frame < last)
        window.next = fetch(frame + 1);
    return window;
}
