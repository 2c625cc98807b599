#include "video/frame_decoder.h"

#include "image/dib.h"
#include "video/frame_cache.h"
#include "video/video_limits.h"

#include <algorithm>
#include <limits>

namespace {

// A picture comes out at most this many packets after its own (H.264 allows 16 reordered
// pictures, and frame threads hold back a few more); a decoder that has given nothing by then
// for the wanted frame never will.
constexpr int kMaxLookahead = 32;
// Groups of pictures tried before a frame is given up: open groups reach one group back, and a
// stream damaged at a key frame may need one more.
constexpr int kMaxSeekAttempts = 3;
// Packets the sample table doesn't know that a seek may read before the key frame's: the
// remains of a picture cut by the seek.
constexpr int kMaxUnknownBeforeKey = 16;
// Numbered by delay, the pictures stored after a key frame that are shown before it (an open
// group's B-frames) carry numbers up to this far past the key frame's sample, and need the group
// before it.
constexpr int kMaxShownBeforeKey = 16;
// Playing and recording pass each picture once. The cache keeps a trail of the last ones for
// stepping back after Stop rather than its whole budget: more would be memory new to the program
// (a page fault every 4 KiB) for pictures nobody comes back to.
constexpr std::size_t kInOrderTrailBytes = std::size_t(64) << 20;

// MPEG-4 Visual never refers to a B-frame, hands a B-frame out as soon as it is decoded (as the
// frame before its sample) and every other picture when the next reference picture arrives; so
// leaving out a B-frame stored before the wanted frame changes neither the other pictures nor
// their numbering by delay. (H.264 may refer to B-frames and counts its delay in pictures.)
// Numbered by presentation, a picture's number comes with it, so any codec whose decoder can tell
// pictures that no other refers to may leave them out.
bool skipsNonReferenceExactly(AVCodecID codec, bool byPresentation)
{
    if (codec == AV_CODEC_ID_MPEG4)
        return true;
    return byPresentation && (codec == AV_CODEC_ID_MPEG1VIDEO || codec == AV_CODEC_ID_MPEG2VIDEO ||
                              codec == AV_CODEC_ID_H264 || codec == AV_CODEC_ID_HEVC);
}

} // namespace

FrameDecoder::FrameDecoder(AVFormatContext& format, int streamIndex, const SampleTable& samples,
                           SeekMethod seekMethod)
    : m_format(format), m_streamIndex(streamIndex), m_samples(samples), m_seekMethod(seekMethod)
{}

bool FrameDecoder::numbersByPresentation() const
{
    return m_samples.numbering() == SampleNumbering::ByPresentation;
}

bool FrameDecoder::open(std::string& errorText)
{
    m_packet.reset(av_packet_alloc());
    if (!m_packet) {
        errorText = avErrorText(AVERROR(ENOMEM));
        return false;
    }
    return openCodec(m_threading, errorText);
}

bool FrameDecoder::setThreading(DecoderThreading threading)
{
    if (threading == m_threading || !m_codec)
        return true;
    // Opened anew, a decoder would lose what only the first packet read carries, such as a
    // palette; one without frame threads has nothing to gain.
    if (!(m_codec->codec->capabilities & AV_CODEC_CAP_FRAME_THREADS))
        return true;
    std::string errorText;
    if (!openCodec(threading, errorText))
        return false;
    // The new decoder starts from a key frame; the pictures handed out stay as they are.
    m_pending = nullptr;
    m_positioned = false;
    return true;
}

AvCodecContextPtr OpenStreamDecoder(const AVStream& stream, DecoderThreading threading,
                                    std::string& errorText)
{
    const AVCodec* codec = avcodec_find_decoder(stream.codecpar->codec_id);
    if (codec == nullptr) {
        errorText = "no decoder for the video's compression";
        return nullptr;
    }
    AvCodecContextPtr context(avcodec_alloc_context3(codec));
    if (!context) {
        errorText = avErrorText(AVERROR(ENOMEM));
        return nullptr;
    }
    int result = avcodec_parameters_to_context(context.get(), stream.codecpar);
    if (result < 0) {
        errorText = avErrorText(result);
        return nullptr;
    }
    context->pkt_timebase = stream.time_base;
    // Frame threads decode several pictures at once. They hand the pictures out later, but in
    // the same order and each with the sample it came out after, by which it is numbered.
    context->thread_type =
        threading == DecoderThreading::Frames ? FF_THREAD_FRAME | FF_THREAD_SLICE : FF_THREAD_SLICE;
    context->thread_count = 0;
    // Pictures larger than the header's may come; the limit holds for them too.
    context->max_pixels = std::min(static_cast<std::int64_t>(kMaxDibBytes / 4), kMaxFramePixels);
    result = avcodec_open2(context.get(), codec, nullptr);
    if (result < 0) {
        errorText = avErrorText(result);
        return nullptr;
    }
    return context;
}

bool FrameDecoder::openCodec(DecoderThreading threading, std::string& errorText)
{
    AvCodecContextPtr context =
        OpenStreamDecoder(*m_format.streams[m_streamIndex], threading, errorText);
    if (!context)
        return false;
    m_skipsNonReference = skipsNonReferenceExactly(context->codec->id, numbersByPresentation());
    m_codec = std::move(context);
    m_threading = threading;
    return true;
}

DecodedPicturePtr FrameDecoder::decode(int sample)
{
    if (!m_codec || !m_samples.contains(sample))
        return nullptr;
    const int target = pictureOf(sample);
    if (target < 0)
        return nullptr;
    if (m_shown && m_shown->number == target)
        return m_shown;
    if (m_cache) {
        if (DecodedPicturePtr cached = m_cache->find(target))
            return m_shown = std::move(cached);
    }

    m_shown = nullptr;
    // Once a recording's decoding is under way, a frame the decoder did not give is passed over
    // and decoding goes on from where it stands, never back.
    const bool passOver = m_order == FrameOrder::Ascending && m_decodingInOrder;
    if (canContinueTo(target)) {
        if (DecodedPicturePtr picture = decodeForward(target)) {
            m_decodingInOrder = m_order == FrameOrder::Ascending;
            return m_shown = std::move(picture);
        }
        if (passOver)
            return nullptr;
    } else if (passOver && m_positioned && !isAheadOfDecoder(target)) {
        return nullptr;
    }
    // Decoding from a key frame again may still bring out a picture that the decoder dropped
    // after an earlier seek; passing over, only from key frames ahead of what was decoded.
    m_shown = decodeAfterSeek(target, kMaxSeekAttempts, passOver ? m_lastSentPacket : -1);
    m_decodingInOrder = m_order == FrameOrder::Ascending;
    return m_shown;
}

// The frame whose picture shows for sample: itself, or for a dropped frame the one before it.
int FrameDecoder::pictureOf(int sample) const
{
    return m_samples.isStored(sample) ? sample : m_samples.previousStored(sample);
}

// The packet of a frame number that came back from the decoder; -1 for none.
int FrameDecoder::packetOf(std::int64_t frame) const
{
    if (frame < std::numeric_limits<int>::min() || frame > std::numeric_limits<int>::max())
        return -1;
    return m_samples.packetOfFrame(static_cast<int>(frame));
}

bool FrameDecoder::decodeTowards(int sample)
{
    if (!m_codec || !m_cache || !m_samples.contains(sample))
        return false;
    const int target = pictureOf(sample);
    if (target < 0 || m_cache->contains(target) || (m_shown && m_shown->number == target))
        return false;
    if (!canContinueTo(target)) {
        const int key = std::max(m_samples.decodeStart(target), 0);
        if (!seekTo(key))
            return false;
    }
    if (!m_pending && !fetchPicture(target))
        return false;
    if (m_pending->number > target)
        return false; // kept for whatever is asked for next
    // Pictures on the way and the target's own went to the cache as they came out.
    const bool reached = m_pending->number == target;
    m_pending = nullptr;
    return !reached;
}

// Whether reaching target needs a seek forward, past what was sent: a key frame of its own lies
// ahead. Frames asked for in order and numbered by delay read on unless the key frame is one
// that the pictures shown before it don't need either, as a seek would then cost a second one;
// a jump seeks at once, and only seeks again if it has to.
bool FrameDecoder::isAheadOfDecoder(int target) const
{
    const bool readOn = !numbersByPresentation() && m_order == FrameOrder::Ascending;
    const int start =
        m_samples.decodeStart(readOn ? std::max(0, target - kMaxShownBeforeKey) : target);
    return m_sentAny && start > m_lastSentPacket + 1;
}

bool FrameDecoder::canContinueTo(int target) const
{
    if (!m_positioned)
        return false;
    if (m_pending) {
        if (target < m_pending->number)
            return false;
    } else if (!m_rankedAny || target <= m_lastRank || m_ended) {
        return false;
    }
    // Reading on is cheaper than a seek unless a key frame lies ahead of what was sent.
    return !isAheadOfDecoder(target);
}

// Tries the key frames before target's, one after the other, while they lie after the packet
// floor.
DecodedPicturePtr FrameDecoder::decodeAfterSeek(int target, int attempts, int floor)
{
    int key = m_samples.decodeStart(target);
    if (key < 0)
        key = 0; // an index without key frames: decode from the start
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (!seekTo(key))
            return nullptr;
        if (DecodedPicturePtr picture = decodeForward(target))
            return picture;
        // The key frame's group shows pictures before the key frame itself that need the group
        // before it, or the decoder, missing what came before, dropped the picture: H.264's
        // memory management may refer back across a key frame that isn't an IDR picture. A
        // seek by time may also have landed past the key frame.
        key = m_samples.previousKeyPacket(key);
        if (floor >= 0 && key <= floor)
            return nullptr;
        if (key < 0) {
            if (!m_overshot)
                return nullptr;
            key = 0;
        }
    }
    return nullptr;
}

bool FrameDecoder::seekTo(int keyPacket)
{
    avcodec_flush_buffers(m_codec.get());
    m_pending = nullptr;
    m_positioned = false;
    m_drained = false;
    m_ended = false;
    m_overshot = false;
    m_sentAny = false;
    m_rankedAny = false;
    m_reachedKey = false;
    m_unknownBeforeKey = 0;
    m_seekPacket = keyPacket;
    m_seekFrame = 0;
    ++m_seekCount;
    if (keyPacket >= m_samples.packetCount())
        return false;
    const SampleTable::Packet& key = m_samples.packet(keyPacket);
    m_seekFrame = key.frame;
    int result = -1;
    if (m_seekMethod == SeekMethod::ByPosition && key.seekPosition >= 0)
        result = av_seek_frame(&m_format, m_streamIndex, key.seekPosition, AVSEEK_FLAG_BYTE);
    if (result < 0)
        result = av_seek_frame(&m_format, m_streamIndex, key.timestamp, AVSEEK_FLAG_BACKWARD);
    if (result < 0)
        result = av_seek_frame(&m_format, m_streamIndex, key.timestamp,
                               AVSEEK_FLAG_BACKWARD | AVSEEK_FLAG_ANY);
    if (result < 0)
        return false;
    m_positioned = true;
    return true;
}

// Decodes on until the picture of target comes out; null when a later one comes first or the
// decoder has nothing more.
DecodedPicturePtr FrameDecoder::decodeForward(int target)
{
    for (;;) {
        if (!m_pending && !fetchPicture(target))
            return nullptr;
        if (m_pending->number > target)
            return nullptr; // kept for a later frame
        DecodedPicturePtr picture = std::move(m_pending);
        m_pending = nullptr;
        if (picture->number == target)
            return picture;
    }
}

// Brings out the next picture into m_pending, feeding packets as the decoder asks for them.
// False when the decoder has nothing more, or nothing up to a little past the target.
bool FrameDecoder::fetchPicture(int target)
{
    AvFramePtr frame(av_frame_alloc());
    if (!frame)
        return false;
    int sentHere = 0;
    for (;;) {
        const int result = avcodec_receive_frame(m_codec.get(), frame.get());
        if (result == 0) {
            const std::optional<std::int64_t> ranked = rankOfNewPicture(*frame);
            if (!ranked) {
                av_frame_unref(frame.get());
                continue; // a picture that is never shown
            }
            const std::int64_t rank = *ranked;
            m_rankedAny = true;
            m_lastRank = rank;
            auto picture = std::make_shared<DecodedPicture>();
            picture->frame = std::move(frame);
            picture->number = static_cast<int>(std::clamp<std::int64_t>(
                rank, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
            if (m_cache && m_cache->worthKeeping(picture->number, target))
                m_cache->keep(picture, m_order == FrameOrder::Ascending
                                           ? kInOrderTrailBytes
                                           : std::numeric_limits<std::size_t>::max());
            m_pending = std::move(picture);
            return true;
        }
        if (result != AVERROR(EAGAIN) || m_drained) {
            // The end of the stream, or a decoder that broke down while draining.
            m_ended = m_drained || result == AVERROR_EOF;
            return false;
        }
        if (m_overshot)
            return false;
        // Sending key frames alone, the packets between them are not sent, so the packets
        // sent for this picture are counted instead.
        if (m_sentAny &&
            (sendsKeysOnly() ? sentHere > kMaxLookahead
                             : m_lastSentPacket - m_samples.packetOfFrame(target) > kMaxLookahead))
            return false;
        ++sentHere;
        if (!sendNextPacket(target)) {
            // The end of the file: let the decoder hand out the pictures it still holds.
            avcodec_send_packet(m_codec.get(), nullptr);
            m_drained = true;
        }
    }
}

bool FrameDecoder::sendNextPacket(int target)
{
    for (;;) {
        av_packet_unref(m_packet.get());
        if (av_read_frame(&m_format, m_packet.get()) < 0)
            return false;
        if (m_packet->stream_index != m_streamIndex || m_packet->size <= 0)
            continue;
        const int index = packetOfRead();
        if (!m_reachedKey) {
            // Packets before the key frame are left out; a packet past it means that the seek
            // went too far. A packet the table doesn't know, read on the way, is left out too,
            // unless none of those read is known, as in a file whose packets say nothing.
            if (index > m_seekPacket) {
                m_overshot = true;
                return false;
            }
            if (index >= 0 && index < m_seekPacket)
                continue;
            const bool keySized =
                std::uint32_t(m_packet->size) == m_samples.packet(m_seekPacket).size;
            if (index < 0 && !keySized && ++m_unknownBeforeKey <= kMaxUnknownBeforeKey)
                continue;
            m_reachedKey = true;
        }
        const int sample = index >= 0 ? index : m_seekPacket;
        const int frame = m_samples.packet(sample).frame;
        if (sendsKeysOnly() && !m_samples.packet(sample).key)
            continue;
        m_sentAny = true;
        m_lastSentPacket = sample;
        m_lastSent = frame;
        if (numbersByPresentation()) {
            // The decoder hands the frame number back with the picture; a packet that is never
            // shown gets none, and its picture is dropped.
            m_packet->pts = frame >= 0 ? frame : AV_NOPTS_VALUE;
            m_packet->dts = AV_NOPTS_VALUE;
            if (frame < 0)
                m_packet->flags |= AV_PKT_FLAG_DISCARD;
        } else {
            // The decoder sees nothing but the sample number; pictures are told apart by when
            // they come out, not by the container's timestamps, which AVI doesn't have.
            m_packet->pts = AV_NOPTS_VALUE;
            m_packet->dts = frame;
        }
        // Numbered by delay, a B-frame is shown as the frame of the packet before its own.
        const int shownAs = numbersByPresentation() ? frame
                            : sample > 0            ? m_samples.packet(sample - 1).frame
                                                    : frame - 1;
        if (sendsKeysOnly())
            m_codec->skip_frame = AVDISCARD_NONKEY;
        else
            m_codec->skip_frame = m_skipsNonReference && !isNeeded(shownAs, target)
                                      ? AVDISCARD_NONREF
                                      : AVDISCARD_DEFAULT;
        // A damaged packet is skipped: the decoder simply gives no picture for it.
        avcodec_send_packet(m_codec.get(), m_packet.get());
        return true;
    }
}

// Whether a picture is asked for: it is the target or one of the wanted frames after it, or,
// unless a step between wanted frames says which are, the cache would keep it. Numbered by delay,
// a B-frame is shown as the frame before its sample, and near the end of the stream every picture
// is needed: those the decoder hands out when it is drained come without a sample and are
// numbered one after the other.
bool FrameDecoder::isNeeded(int frame, int target) const
{
    if (m_wantedStep <= 1 && !m_wantedList && m_cache && m_cache->worthKeeping(frame, target))
        return true;
    if (!numbersByPresentation() && std::int64_t(frame) + kMaxLookahead >= m_samples.last())
        return true;
    if (frame < target)
        return false;
    if (m_wantedList)
        return std::binary_search(m_wantedList->begin(), m_wantedList->end(), frame);
    return (std::int64_t(frame) - m_wantedFrom) % std::max(m_wantedStep, 1) == 0;
}

// Numbered by delay, a picture is told by the packets sent after it, so every packet is sent
// and decoded even when key frames alone are wanted.
bool FrameDecoder::sendsKeysOnly() const
{
    return m_keyFramesOnly && numbersByPresentation();
}

// The packet just read, by its place in storage. One the table doesn't know, or one out of step,
// is taken as the next in storage.
int FrameDecoder::packetOfRead() const
{
    const int index = m_samples.packetOfRead(m_packet->dts, m_packet->pos,
                                             static_cast<std::uint32_t>(m_packet->size));
    if (!m_sentAny)
        return index;
    if (index <= m_lastSentPacket) {
        return m_lastSentPacket + 1 < m_samples.packetCount() ? m_lastSentPacket + 1
                                                              : m_lastSentPacket;
    }
    return index;
}

std::optional<std::int64_t> FrameDecoder::rankOfNewPicture(const AVFrame& picture) const
{
    if (numbersByPresentation()) {
        // A picture shown before the key frame it was decoded from lacks the group before.
        if (picture.pts == AV_NOPTS_VALUE || (m_seekFrame >= 0 && picture.pts < m_seekFrame))
            return std::nullopt;
        return picture.pts;
    }
    // Pictures that the decoder held until it was drained come without a sample.
    if (picture.pkt_dts == AV_NOPTS_VALUE || !m_sentAny)
        return m_rankedAny ? storedAfter(m_lastRank) : m_seekFrame;
    // The delay is counted in packets: the picture is the one of the packet that many before
    // the packet it came out after, which is the sample number only where no sample between
    // them is empty (a dropped frame).
    const int sent = packetOf(picture.pkt_dts);
    const int shownPacket = sent - m_codec->has_b_frames;
    const std::int64_t rank = sent >= 0 && shownPacket >= 0
                                  ? m_samples.packet(shownPacket).frame
                                  : picture.pkt_dts - m_codec->has_b_frames;
    // A decoder that finds out late how far it reorders hands out pictures sooner than its
    // delay says; they still come in display order.
    return m_rankedAny && rank <= m_lastRank ? storedAfter(m_lastRank) : rank;
}

// Numbered by delay, the frame of the stored sample after frame, passing over empty ones.
std::int64_t FrameDecoder::storedAfter(std::int64_t frame) const
{
    const int packet = packetOf(frame);
    if (packet >= 0 && packet + 1 < m_samples.packetCount())
        return m_samples.packet(packet + 1).frame;
    return frame + 1;
}
