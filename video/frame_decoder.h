#pragma once

#include "video/av_handles.h"
#include "video/decoded_picture.h"
#include "video/sample_table.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class FrameCache;

// How the decoder spreads its work over threads.
enum class DecoderThreading
{
    // The parts of one picture at a time: the quickest way to a picture that others depend on,
    // as after a jump, when each picture on the way waits for the one before it.
    Slices,
    // Several pictures at once: the quickest way through a run of frames, as a recording steps
    // through them, at the cost of memory and some work for each thread.
    Frames,
};

// A decoder for the stream's pictures, opened; null, with the reason in errorText, when FFmpeg
// has none for its compression or it won't open.
AvCodecContextPtr OpenStreamDecoder(const AVStream& stream, DecoderThreading threading,
                                    std::string& errorText);

// How the file is repositioned before a key frame.
enum class SeekMethod
{
    // By the timestamp of the sample table: containers with an index of their own (AVI, MP4,
    // Matroska) find their key frames by time.
    ByTimestamp,
    // By the packet's byte position: streams without an index (MPEG transport and program
    // streams, raw elementary streams), where a seek by time only guesses.
    ByPosition,
};

// The order in which frames will be asked for.
enum class FrameOrder
{
    // Any: a frame that can't be decoded is looked for again from earlier key frames.
    Any,
    // Ascending, as a recording steps through them: a frame that can't be decoded is passed
    // over and decoding goes on forward, so that a damaged stretch costs no more than an intact
    // one.
    Ascending,
};

// Decodes frames of one video stream by frame number.
//
// Frame N is the N-th picture in display order. Where the container gives every packet a
// presentation time, the sample table numbers its packets in that order, and each packet goes to
// the decoder with its frame number as its presentation time, which the decoder hands back with
// the picture, also through frame threads. Elsewhere (AVI, raw streams) the decoder hands pictures
// out in display order, each one after a fixed number of further packets (its reordering delay),
// so a picture that comes out after the packet of sample S has been sent is frame S - delay;
// pictures that come out while the decoder is drained at the end follow one by one.
// Only the next picture is decoded when frames are stepped through; any other frame is reached
// from the key frame at or before it, or from an earlier one when that key frame's group starts
// with pictures shown before it, or when the decoder, starting there, dropped the picture. After
// a seek, packets stored before the key frame are not sent at all, and pictures shown before the
// key frame, which lack the group before it, are not handed out.
class FrameDecoder
{
public:
    FrameDecoder(AVFormatContext& format, int streamIndex, const SampleTable& samples,
                 SeekMethod seekMethod);
    FrameDecoder(const FrameDecoder&) = delete;
    FrameDecoder& operator=(const FrameDecoder&) = delete;

    // Opens FFmpeg's decoder for the stream. False, with the reason in errorText, when there is
    // none or it can't be opened.
    bool open(std::string& errorText);
    // Opens the decoder anew with the threading, unless it has it already; the next picture is
    // decoded from a key frame. Slices until changed.
    bool setThreading(DecoderThreading threading);

    // The picture of a frame; null when the frame can't be decoded. A dropped frame shows the
    // picture before it.
    DecodedPicturePtr decode(int sample);
    // Idle work towards a frame's picture, one picture a call, so that asking for it later finds
    // it in the cache: the decoder goes on from where it stands, or from the frame's key frame,
    // and the cache keeps the pictures on the way as it would for the frame. The picture handed
    // out last stays as it is. True while there is more to do; false once the picture is in the
    // cache, or when there is no cache or the picture can't be reached this way.
    bool decodeTowards(int sample);

    // Pictures that come out on the way to a frame are offered to the cache, and frames found
    // there are not decoded again. None by default.
    void setCache(FrameCache* cache) { m_cache = cache; }

    // The frames that will be asked for next: from `from` on, every step-th. Pictures no other
    // picture refers to and that are none of them are then not decoded. Every frame, until
    // changed.
    void setWantedFrames(int from, int step)
    {
        m_wantedFrom = from;
        m_wantedStep = step;
        m_wantedList = nullptr;
        m_keyFramesOnly = false;
    }
    // The same for a list of frames, ascending. With keyFramesOnly, all of them are key frames:
    // the decoder then decodes nothing else and, where frames are numbered by presentation, is
    // not even sent the other packets.
    void setWantedFrames(std::shared_ptr<const std::vector<int>> frames, bool keyFramesOnly)
    {
        m_wantedFrom = 0;
        m_wantedStep = 1;
        m_wantedList = std::move(frames);
        m_keyFramesOnly = keyFramesOnly;
    }

    // Any, until changed.
    void setFrameOrder(FrameOrder order)
    {
        m_order = order;
        m_decodingInOrder = false;
    }

    // How often the file was repositioned; stepping through the frames needs it only once.
    int seekCount() const { return m_seekCount; }

private:
    bool openCodec(DecoderThreading threading, std::string& errorText);
    DecodedPicturePtr decodeAfterSeek(int target, int attempts, int floor);
    bool canContinueTo(int target) const;
    bool isAheadOfDecoder(int target) const;
    bool seekTo(int keyPacket);
    DecodedPicturePtr decodeForward(int target);
    bool fetchPicture(int target);
    bool sendNextPacket(int target);
    int packetOfRead() const;
    bool isNeeded(int frame, int target) const;
    bool sendsKeysOnly() const;
    bool numbersByPresentation() const;
    std::optional<std::int64_t> rankOfNewPicture(const AVFrame& picture) const;
    std::int64_t storedAfter(std::int64_t frame) const;
    int pictureOf(int sample) const;
    int packetOf(std::int64_t frame) const;

    AVFormatContext& m_format;
    int m_streamIndex;
    const SampleTable& m_samples;
    SeekMethod m_seekMethod;
    FrameOrder m_order = FrameOrder::Any;
    bool m_decodingInOrder = false; // the decoder has been asked for a frame in that order
    FrameCache* m_cache = nullptr;

    AvCodecContextPtr m_codec;
    DecoderThreading m_threading = DecoderThreading::Slices;
    AvPacketPtr m_packet;
    // Pictures no other picture refers to may be left undecoded before the wanted one, where
    // leaving them out changes neither the other pictures nor their numbers.
    bool m_skipsNonReference = false;
    int m_wantedFrom = 0;
    int m_wantedStep = 1;
    std::shared_ptr<const std::vector<int>> m_wantedList; // instead of from and step
    bool m_keyFramesOnly = false;
    DecodedPicturePtr m_pending; // a picture decoded but not yet asked for
    DecodedPicturePtr m_shown;   // the one asked for last

    // Where the decoder stands since its last seek.
    bool m_positioned = false;
    bool m_drained = false;    // the end of the stream was sent to the decoder
    bool m_ended = false;      // and the decoder has handed out everything it held
    bool m_overshot = false;   // the seek landed past the key frame's packet
    int m_seekPacket = 0;      // the key frame's packet decoding started from
    int m_seekFrame = 0;       // and its frame
    bool m_reachedKey = false; // packets before it are not sent
    int m_unknownBeforeKey = 0;
    bool m_sentAny = false;
    int m_lastSentPacket = 0;
    int m_lastSent = 0; // the frame of the packet sent last
    bool m_rankedAny = false;
    std::int64_t m_lastRank = 0; // of the last picture that came out
    int m_seekCount = 0;
};
