#pragma once

// The limits the video layer puts on what a file may ask of it.

#include <cstdint>
#include <limits>

// The largest frame the program opens: 8192 x 8192, 64 megapixels. A file whose header or
// pictures claim more is refused before anything is allocated for it, so that a small hostile
// file cannot make the decoder and the frame buffers ask for gigabytes.
constexpr std::int64_t kMaxFramePixels = std::int64_t(8192) * 8192;

// The most frames a video may have. Only the fuzz build sets a limit, so that a tiny input whose
// index names one sample at 0 and one at two billion is not scanned sample by sample; a real
// video of many hours must open.
#ifdef CLIPMINT_MAX_VIDEO_FRAMES
constexpr int kMaxVideoFrames = CLIPMINT_MAX_VIDEO_FRAMES;
#else
constexpr int kMaxVideoFrames = std::numeric_limits<int>::max();
#endif
