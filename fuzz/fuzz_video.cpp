// A video held in memory, opened as the frame source opens a file: its sample table, every
// sample's size as the bitrate scan reads it, the first, a middle and the last frame, and the
// first again after them, which makes the decoder seek back.
#include "fuzz_check.h"
#include "image/dib.h"
#include "video/av_stream_reader.h"
#include "video/video_library.h"
#include "video/picture_options.h"
#include "video/stream_picture.h"
#include "video/video_limits.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    SetVideoLibraryMessages(VideoLibraryMessages::Hidden);
    return 0;
}

namespace {

// The frame has the stream's shown size: turned upright where its display matrix says so.
void checkFrame(const AvStreamReader& reader, const std::uint8_t* dib)
{
    if (dib == nullptr)
        return;
    const ShownSize shown = ShownSizeOf(reader.streamPicture(), PictureOptions{});
    FUZZ_CHECK(DibPixelWidth(dib) == shown.width);
    FUZZ_CHECK(DibPixelHeight(dib) == shown.height);
    const auto size = std::size_t(kInfoHeaderSize) +
                      std::size_t(DibStride(shown.width, 24)) * std::size_t(shown.height);
    FUZZ_CHECK(DibIsValid(dib, size));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    AvStreamReader reader;
    if (!reader.openMemory(std::span(data, size)))
        return 0;
    FUZZ_CHECK(std::int64_t(reader.width()) * reader.height() <= kMaxFramePixels);
    const int first = reader.streamStart();
    const int count = reader.streamLength();
    FUZZ_CHECK(count >= 0 && count <= kMaxVideoFrames);
    if (count == 0)
        return 0;
    const int last = first + count - 1;

    for (int sample = first; sample <= last; ++sample)
        FUZZ_CHECK(reader.sampleSize(sample).has_value());
    FUZZ_CHECK(!reader.sampleSize(last + 1).has_value());
    reader.sampleToTime(last);
    const int nextKey = reader.findKeySample(first, KeySearch::Next);
    const int previousKey = reader.findKeySample(last, KeySearch::Previous);
    FUZZ_CHECK(nextKey == -1 || (nextKey >= first && nextKey <= last));
    FUZZ_CHECK(previousKey == -1 || (previousKey >= first && previousKey <= last));

    if (reader.width() <= 0 || reader.height() <= 0 || !reader.openFrameDecoder())
        return 0;
    for (const int frame : {first, first + (last - first) / 2, last, first})
        checkFrame(reader, reader.getFrame(frame));
    return 0;
}
