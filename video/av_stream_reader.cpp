#include "video/av_stream_reader.h"

#include "video/index_cache.h"
#include "video/picture_type.h"
#include "video/video_limits.h"

extern "C" {
#include <libavutil/mathematics.h>
}

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace {

bool isPositive(AVRational ratio)
{
    return ratio.num > 0 && ratio.den > 0;
}

// Streams without an index of their own, where a seek by time is a guess: the file is
// repositioned at a packet's byte position instead, which the read through at open lists.
bool seeksByPosition(std::string_view formatName)
{
    for (std::string_view name : {"mpegts", "mpeg", "mpegvideo", "h264", "hevc", "m4v", "vc1"}) {
        if (formatName == name)
            return true;
    }
    return false;
}

// MPEG-1, MPEG-2 and MPEG-4 Visual show a B-frame as it is decoded and every other picture when
// the next one that is not a B-frame is decoded. A program stream gives no presentation time to
// a picture that starts inside another's packet; such times are put back by that rule, and only
// where every packet has a decoding time.
void fillPresentationTimes(std::vector<IndexEntry>& entries, const std::vector<PictureType>& types)
{
    const auto isB = [&types](std::size_t i) { return types[i] == PictureType::B; };
    bool missing = false;
    bool anyB = false;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].dts == kNoTimestamp || types[i] == PictureType::Unknown)
            return;
        missing = missing || entries[i].pts == kNoTimestamp;
        anyB = anyB || isB(i);
    }
    if (!missing)
        return;
    const std::int64_t step = entries.size() > 1 ? (entries.back().dts - entries.front().dts) /
                                                       std::int64_t(entries.size() - 1)
                                                 : 1;
    std::int64_t nextReferenceDts = entries.back().dts + step;
    for (std::size_t i = entries.size(); i-- > 0;) {
        if (entries[i].pts == kNoTimestamp)
            entries[i].pts = isB(i) || !anyB ? entries[i].dts : nextReferenceDts;
        if (!isB(i))
            nextReferenceDts = entries[i].dts;
    }
}

} // namespace

bool AvStreamReader::open(const std::string& path, ReadProgress progress)
{
    m_readProgress = std::move(progress);
    m_openStopped = false;
#ifndef CLIPMINT_FUZZING
    m_indexKey = IndexKeyOf(path);
#endif
    AVFormatContext* opened = nullptr;
    const int result = avformat_open_input(&opened, path.c_str(), nullptr, nullptr);
    return readHeaders(result, opened);
}

bool AvStreamReader::openHeaders(const std::string& path)
{
    AVFormatContext* opened = nullptr;
    const int result = avformat_open_input(&opened, path.c_str(), nullptr, nullptr);
    return readHeaders(result, opened, false);
}

DecodedPicturePtr AvStreamReader::firstPicture()
{
    if (!m_format || m_samples.count() > 0 || !DibFrameConverter::fits(m_width, m_height))
        return nullptr;
    std::string errorText;
    const AvCodecContextPtr codec = OpenStreamDecoder(*m_format->streams[m_streamIndex],
                                                      DecoderThreading::Slices, errorText);
    const AvPacketPtr packet(av_packet_alloc());
    AvFramePtr frame(av_frame_alloc());
    if (!codec || !packet || !frame)
        return nullptr;
    bool sent = true;
    while (sent) {
        const int received = avcodec_receive_frame(codec.get(), frame.get());
        if (received == 0)
            return std::make_shared<const DecodedPicture>(DecodedPicture{std::move(frame), 0});
        if (received != AVERROR(EAGAIN))
            return nullptr;
        sent = false;
        while (av_read_frame(m_format.get(), packet.get()) >= 0) {
            const bool ours = packet->stream_index == m_streamIndex;
            if (ours)
                avcodec_send_packet(codec.get(), packet.get());
            av_packet_unref(packet.get());
            if (ours) {
                sent = true;
                break;
            }
        }
        if (!sent)
            sent = avcodec_send_packet(codec.get(), nullptr) == 0;
    }
    return nullptr;
}

bool AvStreamReader::openMemory(std::span<const std::uint8_t> bytes)
{
    auto memory = std::make_unique<AvMemoryInput>(bytes);
    AVFormatContext* opened = avformat_alloc_context();
    if (opened == nullptr || memory->context() == nullptr) {
        avformat_free_context(opened);
        m_errorText = avErrorText(AVERROR(ENOMEM));
        return false;
    }
    opened->pb = memory->context();
    m_memory = std::move(memory);
    // On failure avformat_open_input frees the context it was given.
    const int result = avformat_open_input(&opened, nullptr, nullptr, nullptr);
    return readHeaders(result, opened);
}

bool AvStreamReader::readHeaders(int openResult, AVFormatContext* opened, bool listFrames)
{
    if (openResult < 0) {
        m_errorText = avErrorText(openResult);
        return false;
    }
    m_format.reset(opened);

    const std::string_view formatName = m_format->iformat->name;
    const bool avi = formatName == "avi";
    // AVI headers say all there is to know; reading ahead into the data would only slow down a
    // long file. Other containers may leave codec details and the frame rate to the packets.
    if (!avi)
        avformat_find_stream_info(m_format.get(), nullptr);
    if (!selectVideoStream())
        return false;

    const AVCodecParameters* parameters = m_format->streams[m_streamIndex]->codecpar;
    m_picture = StreamPicture::of(*m_format->streams[m_streamIndex]);
    m_width = parameters->width;
    m_height = parameters->height;
    if (std::int64_t(m_width) * m_height > kMaxFramePixels) {
        m_errorText = "the video's frames are larger than 64 megapixels";
        return false;
    }
    readRateAndScale(avi);
    return !listFrames || readSampleTable(avi);
}

bool AvStreamReader::selectVideoStream()
{
    for (unsigned i = 0; i < m_format->nb_streams; ++i) {
        const AVStream* stream = m_format->streams[i];
        if (stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC)) {
            m_streamIndex = static_cast<int>(i);
            break;
        }
    }
    if (m_streamIndex < 0) {
        m_errorText = "the file has no video stream";
        return false;
    }
    // The demuxer then skips the other streams' data instead of handing it over.
    for (unsigned i = 0; i < m_format->nb_streams; ++i) {
        if (static_cast<int>(i) != m_streamIndex)
            m_format->streams[i]->discard = AVDISCARD_ALL;
    }
    return true;
}

void AvStreamReader::readRateAndScale(bool avi)
{
    const AVStream* stream = m_format->streams[m_streamIndex];
    // An AVI stream's time base is its header's scale / rate: one tick a sample. Elsewhere the
    // time base is a clock and the frame rate comes from the container or the packets.
    AVRational samplesPerSecond = av_inv_q(stream->time_base);
    if (!avi)
        samplesPerSecond =
            isPositive(stream->avg_frame_rate) ? stream->avg_frame_rate : stream->r_frame_rate;
    if (!isPositive(samplesPerSecond))
        samplesPerSecond = AVRational{25, 1};
    m_rate = static_cast<std::uint32_t>(samplesPerSecond.num);
    m_scale = static_cast<std::uint32_t>(samplesPerSecond.den);
}

bool AvStreamReader::readSampleTable(bool avi)
{
    // An AVI index lists every sample. Elsewhere the presentation times that number the frames
    // come only with the packets (an MP4 index holds decoding times, Matroska's cues only some
    // key frames), so the file is read through.
    std::vector<IndexEntry> entries;
    if (avi)
        entries = indexEntries();
    // The table of a file read through before, as long as the file is the same.
    std::optional<std::vector<IndexEntry>> cached;
    if (!avi && m_indexKey)
        cached = LoadIndex(*m_indexKey);
    if (cached) {
        entries = std::move(*cached);
        m_indexFromCache = true;
    } else if (entries.empty()) {
        entries = packetEntries(avi);
        m_readProgress = nullptr;
        if (m_openStopped) {
            m_errorText = "the reading was stopped";
            return false;
        }
        if (!avi && m_indexKey && !entries.empty() && IndexKeyOf(m_indexKey->path) == m_indexKey)
            StoreIndex(*m_indexKey, entries);
    }

    auto table = SampleTable::build(entries, avi ? SampleNumbering::ByTimestamp
                                                 : SampleNumbering::ByPresentation);
    if (!table) {
        m_errorText = "the video's frame numbers are out of range";
        return false;
    }
    if (table->count() > kMaxVideoFrames) {
        m_errorText = "the video has more frames than this build reads";
        return false;
    }
    m_samples = std::move(*table);
    readTimes();
    return true;
}

// Times come from the presentation times where the frames are numbered by them, unless the
// frames follow one another at the stream's rate: such a file keeps the times its rate gives, as
// an AVI file does.
void AvStreamReader::readTimes()
{
    const AVStream* stream = m_format->streams[m_streamIndex];
    m_timeBase = stream->time_base;
    m_constantRate = true;
    if (m_samples.numbering() != SampleNumbering::ByPresentation || m_samples.count() < 2 ||
        !isPositive(m_timeBase))
        return;
    std::int64_t shortest = std::numeric_limits<std::int64_t>::max();
    std::int64_t longest = std::numeric_limits<std::int64_t>::min();
    for (int frame = 1; frame < m_samples.count(); ++frame) {
        const std::int64_t step =
            *m_samples.presentationTime(frame) - *m_samples.presentationTime(frame - 1);
        shortest = std::min(shortest, step);
        longest = std::max(longest, step);
    }
    // A time base too coarse for the rate (Matroska's milliseconds at 29.97 frames a second)
    // rounds the steps by up to a tick.
    m_constantRate = longest - shortest <= 1 &&
                     std::abs(ticksToNanoseconds(longest) - frameTimeByRate(1).count()) <=
                         ticksToNanoseconds(1) + frameTimeByRate(1).count() / 100;
}

std::vector<IndexEntry> AvStreamReader::indexEntries()
{
    AVStream* stream = m_format->streams[m_streamIndex];
    const int count = avformat_index_get_entries_count(stream);
    std::vector<IndexEntry> entries;
    entries.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const AVIndexEntry* entry = avformat_index_get_entry(stream, i);
        if (entry == nullptr)
            break;
        IndexEntry indexed;
        indexed.timestamp = entry->timestamp;
        indexed.dts = entry->timestamp;
        indexed.position = entry->pos;
        indexed.size = static_cast<std::uint32_t>(entry->size);
        indexed.key = (entry->flags & AVINDEX_KEYFRAME) != 0;
        entries.push_back(indexed);
    }
    return entries;
}

// Lists the packets of the stream by reading the file through, for containers without an index
// that names every sample.
std::vector<IndexEntry> AvStreamReader::packetEntries(bool avi)
{
    std::vector<IndexEntry> entries;
    AvPacketPtr packet(av_packet_alloc());
    if (!packet)
        return entries;
    // MP4 seeks by decoding time; the other containers by presentation time.
    const bool seeksByDecodingTime =
        std::string_view(m_format->iformat->name).substr(0, 4) == "mov,";
    const AVCodecID codec = m_format->streams[m_streamIndex]->codecpar->codec_id;
    std::vector<PictureType> types;
    // Progress is told every few megabytes.
    const std::int64_t fileSize = m_format->pb ? avio_size(m_format->pb) : -1;
    std::int64_t toldAt = 0;
    while (av_read_frame(m_format.get(), packet.get()) >= 0) {
        if (m_readProgress && fileSize > 0 && packet->pos >= toldAt) {
            toldAt = packet->pos + (std::int64_t(4) << 20);
            if (!m_readProgress(static_cast<int>(
                    std::min<std::int64_t>(packet->pos * 1000 / fileSize, 1000)))) {
                m_openStopped = true;
                av_packet_unref(packet.get());
                break;
            }
        }
        if (packet->stream_index == m_streamIndex) {
            IndexEntry entry;
            entry.position = packet->pos;
            entry.dts = packet->dts;
            entry.size = static_cast<std::uint32_t>(std::max(packet->size, 0));
            entry.key = (packet->flags & AV_PKT_FLAG_KEY) != 0;
            entry.discarded = (packet->flags & AV_PKT_FLAG_DISCARD) != 0;
            if (packet->pts != AV_NOPTS_VALUE)
                entry.pts = packet->pts;
            // AVI packets carry their sample number as decoding time.
            std::int64_t timestamp = packet->dts;
            if (!avi && !seeksByDecodingTime && packet->pts != AV_NOPTS_VALUE)
                timestamp = packet->pts;
            if (timestamp != AV_NOPTS_VALUE || !avi) {
                entry.timestamp = timestamp != AV_NOPTS_VALUE ? timestamp : 0;
                entries.push_back(entry);
                if (!avi)
                    types.push_back(PictureTypeOf(codec, {packet->data, std::size_t(entry.size)}));
            }
        }
        av_packet_unref(packet.get());
    }
    if (!avi)
        fillPresentationTimes(entries, types);
    return entries;
}

std::int64_t AvStreamReader::sampleToTime(int sample) const
{
    using namespace std::chrono;
    const nanoseconds time = frameTime(sample);
    // Nearest millisecond, halves away from zero.
    const std::int64_t half = time.count() >= 0 ? 500000 : -500000;
    return (time.count() + half) / 1000000;
}

std::chrono::nanoseconds AvStreamReader::frameTimeByRate(std::int64_t sample) const
{
    if (m_rate == 0)
        return std::chrono::nanoseconds(0);
    // 128 bits: a sample number times a scale times 10^9 may pass 64.
    const __int128 nanoseconds = static_cast<__int128>(sample) * m_scale * 1000000000 / m_rate;
    return std::chrono::nanoseconds(static_cast<std::int64_t>(nanoseconds));
}

std::int64_t AvStreamReader::ticksToNanoseconds(std::int64_t ticks) const
{
    return av_rescale_q(ticks, m_timeBase, AVRational{1, 1000000000});
}

std::chrono::nanoseconds AvStreamReader::frameTime(int sample) const
{
    if (!m_constantRate) {
        const std::optional<std::int64_t> time = m_samples.presentationTime(sample);
        if (time)
            return std::chrono::nanoseconds(
                ticksToNanoseconds(*time - *m_samples.presentationTime(m_samples.first())));
    }
    return frameTimeByRate(sample);
}

std::chrono::nanoseconds AvStreamReader::duration() const
{
    if (m_samples.count() <= 0)
        return std::chrono::nanoseconds(0);
    if (m_constantRate)
        return frameTimeByRate(m_samples.last() + std::int64_t(1)) -
               frameTimeByRate(m_samples.first());
    // The last frame lasts as long as the one before it.
    const int last = m_samples.last();
    return 2 * frameTime(last) - frameTime(last - 1);
}

std::optional<std::uint32_t> AvStreamReader::sampleSize(int sample) const
{
    if (!m_samples.contains(sample))
        return std::nullopt;
    return m_samples.storedSize(sample);
}

int AvStreamReader::findKeySample(int from, KeySearch direction) const
{
    return m_samples.findKey(from, direction);
}

bool AvStreamReader::openFrameDecoder()
{
    if (!m_format)
        return false;
    if (!DibFrameConverter::fits(m_width, m_height)) {
        m_errorText = "the video's frames are too large";
        return false;
    }
    auto decoder = std::make_unique<FrameDecoder>(*m_format, m_streamIndex, m_samples,
                                                  seeksByPosition(m_format->iformat->name)
                                                      ? SeekMethod::ByPosition
                                                      : SeekMethod::ByTimestamp);
    if (!decoder->open(m_errorText))
        return false;
    decoder->setCache(m_cache.get());
    m_decoder = std::move(decoder);
    return true;
}

DecodedPicturePtr AvStreamReader::getPicture(int sample)
{
    return m_decoder ? m_decoder->decode(sample) : nullptr;
}

const std::uint8_t* AvStreamReader::getFrame(int sample)
{
    if (!m_decoder)
        return nullptr;
    if (!m_converter)
        m_converter = std::make_unique<DibFrameConverter>(m_picture, PictureOptions{});
    m_window = FetchPictureWindow(sample, m_samples.first(), m_samples.last(),
                                  m_converter->needsNeighbours(), m_window,
                                  [this](int wanted) { return getPicture(wanted); });
    if (!m_window.picture || !m_converter->convert(m_window))
        return nullptr;
    return m_converter->packedDib();
}

void AvStreamReader::setFrameCacheBudget(std::size_t budget)
{
    m_cache = budget > 0 ? std::make_unique<FrameCache>(budget) : nullptr;
    if (m_decoder)
        m_decoder->setCache(m_cache.get());
}
