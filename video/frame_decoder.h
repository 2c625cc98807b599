#pragma once

#include "video/av_handles.h"
#include "video/dib_frame_converter.h"
#include "video/sample_table.h"

#include <cstdint>
#include <memory>
#include <string>

// Decodes frames of one video stream by frame number into a packed 24-bit DIB.
//
// Frame N is the N-th picture in display order. The decoder hands pictures out in display order,
// each one after a fixed number of further packets (its reordering delay), so a picture that
// comes out after the packet of sample S has been sent is frame S - delay; pictures that come out
// while the decoder is drained at the end follow one by one. Only the next picture is decoded
// when frames are stepped through; any other frame is reached from the key frame at or before
// it, or from an earlier one when that key frame's group starts with pictures shown before it,
// or when the decoder, starting there, dropped the picture.
class FrameDecoder
{
public:
    FrameDecoder(AVFormatContext& format, int streamIndex, const SampleTable& samples);
    FrameDecoder(const FrameDecoder&) = delete;
    FrameDecoder& operator=(const FrameDecoder&) = delete;

    // Opens FFmpeg's decoder for the stream, delivering frames of width x height. False, with
    // the reason in errorText, when there is none or it can't be opened.
    bool open(int width, int height, std::string& errorText);

    // The picture of a frame as a packed DIB, valid until the next call; null when the frame
    // can't be decoded. A dropped frame shows the picture before it.
    const std::uint8_t* decode(int sample);

    // How often the file was repositioned; stepping through the frames needs it only once.
    int seekCount() const { return m_seekCount; }

private:
    bool canContinueTo(int target) const;
    const std::uint8_t* decodeAfterSeek(int target);
    bool seekTo(int keySample);
    bool decodeForward(int target);
    bool fetchPicture(int target);
    bool sendNextPacket();
    int sampleOfPacket() const;
    std::int64_t rankOfNewPicture() const;

    AVFormatContext& m_format;
    int m_streamIndex;
    const SampleTable& m_samples;

    AvCodecContextPtr m_codec;
    AvPacketPtr m_packet;
    AvFramePtr m_pending; // a picture decoded but not yet asked for
    bool m_hasPending = false;
    std::int64_t m_pendingRank = 0;
    std::unique_ptr<DibFrameConverter> m_converter;

    // Where the decoder stands since its last seek.
    bool m_positioned = false;
    bool m_drained = false; // the end of the stream was sent to the decoder
    bool m_ended = false;   // and the decoder has handed out everything it held
    int m_seekKey = 0;
    bool m_sentAny = false;
    int m_lastSent = 0;
    bool m_rankedAny = false;
    std::int64_t m_lastRank = 0; // of the last picture that came out
    int m_seekCount = 0;
    bool m_shownValid = false;
    int m_shownRank = 0; // the frame the DIB holds
};
