#pragma once

#include "video/decoded_picture.h"

#include <cstddef>
#include <list>
#include <unordered_map>

// The pictures decoded lately, bounded in bytes, so that stepping back, going to a key frame and
// on, and redrawing cost no decoding. The picture used longest ago makes room first.
class FrameCache
{
public:
    explicit FrameCache(std::size_t budget) : m_budget(budget) {}
    FrameCache(const FrameCache&) = delete;
    FrameCache& operator=(const FrameCache&) = delete;

    // The picture of frame, or null; a picture found counts as just used.
    DecodedPicturePtr find(int frame);
    // Whether the frame's picture is kept, without counting it as used.
    bool contains(int frame) const { return m_byFrame.contains(frame); }
    // Keeps a picture, replacing an older one of the same frame. With a smaller budget than the
    // cache's, the pictures used longest ago make room until all of them fit in it.
    void keep(DecodedPicturePtr picture);
    void keep(DecodedPicturePtr picture, std::size_t budget);
    // Whether a picture that comes out on the way to target is worth keeping: the target and
    // what follows it, and a stretch of the frames before it, which are the ones stepped back
    // to. Not all of them: memory new to the program costs more than decoding (a page fault
    // for every 4 KiB), so a long seek keeps only what a few dozen steps back use.
    bool worthKeeping(int frame, int target) const;

    std::size_t bytes() const { return m_bytes; }
    std::size_t size() const { return m_byFrame.size(); }

private:
    void evictBeyond(std::size_t budget);

    std::size_t m_budget;
    std::size_t m_bytes = 0;
    std::size_t m_pictureBytes = 0;        // of the last picture kept, to tell how many fit
    std::list<DecodedPicturePtr> m_recent; // most recently used first
    std::unordered_map<int, std::list<DecodedPicturePtr>::iterator> m_byFrame;
};

// What the frame cache may take on this machine: 256 MiB, and never more than a quarter of the
// memory still available.
std::size_t DefaultFrameCacheBudget();
