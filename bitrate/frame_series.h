#pragma once

#include "platform/error.h"
#include "video/picture_coding.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class StoredPictureScan;
class VideoReader;

// One frame as it is stored: its number, when it is shown, its bytes, how its picture is coded
// and whether it is a key frame. A frame the file holds no data for (a dropped AVI frame) has
// no bytes and an unknown type.
struct StoredFrame
{
    int frame = 0;
    std::chrono::nanoseconds time{0};
    std::uint32_t bytes = 0;
    PictureType type = PictureType::Unknown;
    bool key = false;
};

// The lengths in frames of the groups of pictures: from one key frame to the next, or, with a
// single key frame, from it to the end.
struct GroupLengths
{
    int shortest = 0;
    double average = 0.0;
    int longest = 0;
};

// Every frame of a video in frame order, with the figures drawn from them.
struct FrameSeries
{
    std::vector<StoredFrame> frames;
    // The frames of one second at the video's rounded rate, over which the moving average runs.
    int framesPerSecond = 1;

    // None without a key frame.
    std::optional<GroupLengths> groupLengths() const;
    // For every frame, the mean bytes of it and the frames of the second before it.
    std::vector<double> movingAverage() const;
};

// Reads the frame series of an open video: the file is read through once, its packets in
// storage order, and nothing is decoded. Frame N is the N-th picture shown, as everywhere in the
// program, with the bytes of the packet that holds it. Where the container numbers its frames
// in storage order (AVI, raw streams), the pictures are put in the order they are shown by
// their types: a B-frame is shown as it is decoded, any other picture when the next one that is
// not a B-frame is. The caller steps the read and may stop at any step;
// the series is whole once step has returned false.
class FrameSeriesReader
{
public:
    // The video must stay open while the reader lives.
    explicit FrameSeriesReader(const VideoReader& video);
    ~FrameSeriesReader();
    FrameSeriesReader(const FrameSeriesReader&) = delete;
    FrameSeriesReader& operator=(const FrameSeriesReader&) = delete;

    Outcome open();
    // Reads up to packets packets; false once the stream has been read to its end.
    bool step(int packets = 256);
    // How far the read has got, in thousandths of the file.
    int permille() const;
    const FrameSeries& series() const { return m_series; }
    FrameSeries takeSeries() { return std::move(m_series); }

    // Reads the whole series; progress hears how far in thousandths and stops the read by
    // returning false, which is an OpenStopped error.
    static Result<FrameSeries> read(const VideoReader& video,
                                    const std::function<bool(int permille)>& progress = {});

private:
    struct Picture
    {
        std::uint32_t bytes = 0;
        PictureType type = PictureType::Unknown;
        bool key = false;
    };
    void place(const Picture& picture, int frame);
    void putInDisplayOrder(const Picture& picture);
    void finish();

    const VideoReader& m_video;
    std::unique_ptr<StoredPictureScan> m_scan;
    FrameSeries m_series;
    // Where frames are numbered in storage order (AVI, raw streams): the numbers of the packets
    // read and not yet placed, and the reference picture held back until the next one.
    std::deque<int> m_storedNumbers;
    std::optional<Picture> m_heldReference;
};
