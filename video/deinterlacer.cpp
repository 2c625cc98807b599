#include "video/deinterlacer.h"

namespace {

// Every frame gives one picture, made from both of its fields; a frame that says it is not
// interlaced passes unchanged.
constexpr char kFilter[] = "bwdif=mode=send_frame:parity=auto:deint=interlaced";

} // namespace

AvFramePtr Deinterlacer::deinterlace(const PictureWindow& window)
{
    if (!window.picture)
        return nullptr;
    // The filter holds the picture given out last and the one after it: when that one is wanted
    // now, with the same neighbour before it, only the next picture is new.
    const bool continues = !m_ended && m_chain.takes(*window.picture->frame) && window.previous &&
                           window.previous == m_lastOut && window.picture == m_pushedAfter;
    if (!continues && !restart(window))
        return nullptr;
    const std::int64_t wanted = m_chain.timeOut(m_nextTime - 1);
    m_lastOut = window.picture;
    m_pushedAfter = window.next;
    if (window.next ? !push(window.next) : !m_chain.push(nullptr)) {
        m_chain.reset();
        return nullptr;
    }
    m_ended = window.next == nullptr;
    // The pictures before the wanted one come out too, and are not needed.
    while (AvFramePtr out = m_chain.pull()) {
        if (out->pts == wanted)
            return out;
    }
    m_chain.reset();
    return nullptr;
}

bool Deinterlacer::restart(const PictureWindow& window)
{
    m_lastOut = nullptr;
    m_pushedAfter = nullptr;
    m_ended = true;
    if (!m_chain.build(*window.picture->frame, kFilter))
        return false;
    m_ended = false;
    if ((window.previous && m_chain.takes(*window.previous->frame) && !push(window.previous)) ||
        !push(window.picture)) {
        m_chain.reset();
        return false;
    }
    return true;
}

// Pushes a copy of the picture's frame stamped with the next time; the decoded picture itself
// is shared and stays as it is.
bool Deinterlacer::push(const DecodedPicturePtr& picture)
{
    AvFramePtr stamped(av_frame_clone(picture->frame.get()));
    if (!stamped)
        return false;
    stamped->pts = m_nextTime++;
    return m_chain.push(stamped.get());
}
