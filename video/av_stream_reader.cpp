#include "video/av_stream_reader.h"

#include "video/video_limits.h"

extern "C" {
#include <libavutil/mathematics.h>
}

#include <algorithm>
#include <string_view>

namespace {

bool isPositive(AVRational ratio)
{
    return ratio.num > 0 && ratio.den > 0;
}

} // namespace

bool AvStreamReader::open(const std::string& path)
{
    AVFormatContext* opened = nullptr;
    const int result = avformat_open_input(&opened, path.c_str(), nullptr, nullptr);
    return readHeaders(result, opened);
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

bool AvStreamReader::readHeaders(int openResult, AVFormatContext* opened)
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
    return readSampleTable(avi);
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
    const std::string_view formatName = m_format->iformat->name;
    // MP4 and QuickTime list every sample; Matroska's cues list only some key frames.
    const bool fullIndex = avi || formatName.substr(0, 4) == "mov,";
    std::vector<IndexEntry> entries;
    if (fullIndex)
        entries = indexEntries();
    if (entries.empty())
        entries = packetEntries(avi);

    auto table =
        SampleTable::build(entries, avi ? SampleNumbering::ByTimestamp : SampleNumbering::ByOrder);
    if (!table) {
        m_errorText = "the video's frame numbers are out of range";
        return false;
    }
    if (table->count() > kMaxVideoFrames) {
        m_errorText = "the video has more frames than this build reads";
        return false;
    }
    m_samples = std::move(*table);
    return true;
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
        entries.push_back({entry->timestamp, entry->pos, static_cast<std::uint32_t>(entry->size),
                           (entry->flags & AVINDEX_KEYFRAME) != 0});
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
    while (av_read_frame(m_format.get(), packet.get()) >= 0) {
        // AVI packets carry their sample number as decoding time; elsewhere the display time is
        // what a seek looks for.
        std::int64_t timestamp = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
        if (avi)
            timestamp = packet->dts;
        if (packet->stream_index == m_streamIndex && (timestamp != AV_NOPTS_VALUE || !avi)) {
            entries.push_back({timestamp != AV_NOPTS_VALUE ? timestamp : 0, packet->pos,
                               static_cast<std::uint32_t>(std::max(packet->size, 0)),
                               (packet->flags & AV_PKT_FLAG_KEY) != 0});
        }
        av_packet_unref(packet.get());
    }
    return entries;
}

std::int64_t AvStreamReader::sampleToTime(int sample) const
{
    if (m_rate == 0)
        return 0;
    return av_rescale_rnd(sample, std::int64_t(m_scale) * 1000, m_rate, AV_ROUND_NEAR_INF);
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
    auto decoder = std::make_unique<FrameDecoder>(*m_format, m_streamIndex, m_samples);
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
