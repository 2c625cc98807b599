#pragma once

#include "video/av_handles.h"
#include "video/av_memory_input.h"
#include "video/dib_frame_converter.h"
#include "video/frame_cache.h"
#include "video/frame_decoder.h"
#include "video/index_cache.h"
#include "video/picture_window.h"
#include "video/sample_table.h"
#include "video/stream_picture.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

// The first video stream of a file that FFmpeg can read: its frame range, rate and size, the
// stored size and key-frame flag of every sample from the container's index, sample start times,
// and decoded frames, as the decoder's pictures or as packed 24-bit DIBs.
//
// In an AVI file the index timestamps count samples from the stream's start, so they are the
// sample numbers and a gap between them is a dropped frame, whose empty chunk FFmpeg leaves out of
// the index. Every other file (and an AVI file that lost its index) is read through once at open
// to list its packets; their frames are numbered in the order of their presentation times, or,
// in a raw stream that has none, in storage order.
class AvStreamReader
{
public:
    AvStreamReader() = default;
    AvStreamReader(const AvStreamReader&) = delete;
    AvStreamReader& operator=(const AvStreamReader&) = delete;

    // How far a read through the file has got, in thousandths of its bytes; false stops it.
    using ReadProgress = std::function<bool(int permille)>;

    // False, with the reason in errorText(), when the file can't be read, has no video stream or
    // its frames are larger than kMaxFramePixels, or when progress stopped the read through it.
    bool open(const std::string& path, ReadProgress progress = {});
    // Reads only the file's headers: the frame table stays empty, and the one picture to be had
    // is firstPicture's.
    bool openHeaders(const std::string& path);
    // The first picture the stream's decoder hands out, read straight from the start of the file
    // with a decoder of its own; null when there is none. After openHeaders only.
    DecodedPicturePtr firstPicture();
    // Whether the last open was stopped by its progress.
    bool openStopped() const { return m_openStopped; }
    // Reads a file held in memory the way open reads one on disk; the bytes are copied.
    bool openMemory(std::span<const std::uint8_t> bytes);
    const std::string& errorText() const { return m_errorText; }

    int width() const { return m_width; }
    int height() const { return m_height; }
    // Samples per second as rate / scale.
    std::uint32_t rate() const { return m_rate; }
    std::uint32_t scale() const { return m_scale; }

    int streamStart() const { return m_samples.first(); }
    int streamLength() const { return m_samples.count(); }
    // The start of a sample in milliseconds, rounded to the nearest: sample x scale x 1000 /
    // rate, or, where the frames do not follow one another at one rate, the frame's presentation
    // time counted from the first frame's.
    std::int64_t sampleToTime(int sample) const;
    // The same, exact to the nanosecond.
    std::chrono::nanoseconds frameTime(int sample) const;
    // Whether every frame lasts as long as the rate says; only then do times follow the rate.
    bool hasConstantRate() const { return m_constantRate; }
    // Whether the frames' times come from the container's own timestamps rather than from
    // counting frames, as in an AVI file.
    bool hasTimestamps() const { return m_samples.numbering() == SampleNumbering::ByPresentation; }
    // Whether the frame table came from the cache of files read through before.
    bool indexFromCache() const { return m_indexFromCache; }
    // From the first frame's start to the last frame's end.
    std::chrono::nanoseconds duration() const;
    // The stored (compressed) size of a sample, 0 for a dropped one, read from the index alone;
    // nothing for a sample outside the stream.
    std::optional<std::uint32_t> sampleSize(int sample) const;
    // The frame that a packet read from the file holds, by SampleTable::packetOfRead; -1 when
    // it holds none.
    int frameOfRead(std::int64_t dts, std::int64_t position, std::uint32_t size) const
    {
        const int packet = m_samples.packetOfRead(dts, position, size);
        return packet < 0 ? -1 : m_samples.packet(packet).frame;
    }
    // The nearest key frame at or after (Next) or at or before (Previous) from; -1 when none.
    int findKeySample(int from, KeySearch direction) const;

    // False, with the reason in errorText(), when FFmpeg has no decoder for the stream or its
    // frames are too large to convert.
    bool openFrameDecoder();
    bool hasFrameDecoder() const { return m_decoder != nullptr; }
    // The decoder's picture of the frame; null when it can't be decoded or there is no decoder.
    DecodedPicturePtr getPicture(int sample);
    // See FrameDecoder::decodeTowards.
    bool decodeTowards(int sample) { return m_decoder && m_decoder->decodeTowards(sample); }
    // The frame as a packed DIB made with the default picture options (upright, deinterlaced
    // and so on), valid until the next call; null when it can't be decoded or there is no
    // decoder.
    const std::uint8_t* getFrame(int sample);
    // What the stream says of its pictures; read at open.
    const StreamPicture& streamPicture() const { return m_picture; }
    // How the decoder uses threads; see DecoderThreading.
    void setDecoderThreading(DecoderThreading threading)
    {
        if (m_decoder)
            m_decoder->setThreading(threading);
    }
    // The frames that will be asked for next; see FrameDecoder::setWantedFrames.
    void setWantedFrames(int from, int step)
    {
        if (m_decoder)
            m_decoder->setWantedFrames(from, step);
    }
    void setWantedFrames(std::shared_ptr<const std::vector<int>> frames, bool keyFramesOnly)
    {
        if (m_decoder)
            m_decoder->setWantedFrames(std::move(frames), keyFramesOnly);
    }
    // The order in which frames will be asked for; see FrameOrder.
    void setFrameOrder(FrameOrder order)
    {
        if (m_decoder)
            m_decoder->setFrameOrder(order);
    }
    // Keeps up to budget bytes of the pictures decoded lately, so that they need no decoding
    // again; 0, the default, keeps none. Changing the budget empties the cache.
    void setFrameCacheBudget(std::size_t budget);
    const FrameCache* frameCache() const { return m_cache.get(); }
    // How often decoding repositioned the file.
    int seekCount() const { return m_decoder ? m_decoder->seekCount() : 0; }

private:
    // The common part of both opens, from avformat_open_input's result on.
    bool readHeaders(int openResult, AVFormatContext* opened, bool listFrames = true);
    bool selectVideoStream();
    void readRateAndScale(bool avi);
    bool readSampleTable(bool avi);
    void readTimes();
    std::chrono::nanoseconds frameTimeByRate(std::int64_t sample) const;
    std::int64_t ticksToNanoseconds(std::int64_t ticks) const;
    std::vector<IndexEntry> indexEntries();
    std::vector<IndexEntry> packetEntries(bool avi);

    std::unique_ptr<AvMemoryInput> m_memory; // the input of openMemory; outlives m_format
    std::optional<IndexKey> m_indexKey;      // of the file opened by path
    ReadProgress m_readProgress;             // while open reads the file through
    bool m_openStopped = false;
    bool m_indexFromCache = false;
    AvFormatContextPtr m_format;
    int m_streamIndex = -1;
    SampleTable m_samples;
    std::unique_ptr<FrameCache> m_cache;
    std::unique_ptr<FrameDecoder> m_decoder; // refers to m_format, m_samples and m_cache
    std::unique_ptr<DibFrameConverter> m_converter;
    StreamPicture m_picture;
    PictureWindow m_window; // of getFrame's last frame
    int m_width = 0;
    int m_height = 0;
    std::uint32_t m_rate = 0;
    std::uint32_t m_scale = 1;
    AVRational m_timeBase{0, 1};
    bool m_constantRate = true;
    std::string m_errorText;
};
