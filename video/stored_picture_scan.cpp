#include "video/stored_picture_scan.h"

#include "video/av_handles.h"
#include "video/picture_type.h"
#include "video/video_reader.h"

#include <algorithm>
#include <string_view>

namespace {

struct ParserCloser
{
    void operator()(AVCodecParserContext* parser) const { av_parser_close(parser); }
};

using ParserPtr = std::unique_ptr<AVCodecParserContext, ParserCloser>;

} // namespace

struct StoredPictureScan::Handles
{
    AvFormatContextPtr format;
    AvCodecContextPtr codec; // the parser's view of the stream: its extradata, no decoder
    ParserPtr parser;
    AvPacketPtr packet;
    int streamIndex = -1;
    std::int64_t fileSize = -1;
    std::int64_t position = 0;
};

StoredPictureScan::StoredPictureScan() = default;

StoredPictureScan::~StoredPictureScan() = default;

Outcome StoredPictureScan::open(const VideoReader& reader)
{
    m_handles.reset();
    m_reader = &reader;
    const std::string& path = reader.facts().path;
    auto handles = std::make_unique<Handles>();
    AVFormatContext* opened = nullptr;
    if (const int result = avformat_open_input(&opened, path.c_str(), nullptr, nullptr); result < 0)
        return Error{Failure::OpenVideo, path, 0, avErrorText(result)};
    handles->format.reset(opened);
    // As for the reader: streams without headers (program streams) show up only in their packets.
    if (std::string_view(opened->iformat->name) != "avi")
        avformat_find_stream_info(opened, nullptr);
    // The same stream as the reader's: the first video stream that is not a cover picture.
    for (unsigned i = 0; i < opened->nb_streams; ++i) {
        AVStream* stream = opened->streams[i];
        if (handles->streamIndex < 0 && stream->codecpar->codec_type == AVMEDIA_TYPE_VIDEO &&
            !(stream->disposition & AV_DISPOSITION_ATTACHED_PIC))
            handles->streamIndex = static_cast<int>(i);
        else
            stream->discard = AVDISCARD_ALL;
    }
    handles->packet.reset(av_packet_alloc());
    if (handles->streamIndex < 0 || !handles->packet)
        return Error{Failure::OpenVideo, path, 0, "the file has no video stream"};
    const AVCodecParameters* parameters = opened->streams[handles->streamIndex]->codecpar;
    handles->parser.reset(av_parser_init(parameters->codec_id));
    if (handles->parser) {
        // Every packet holds one whole picture, which the parser hands back at once.
        handles->parser->flags |= PARSER_FLAG_COMPLETE_FRAMES;
        handles->codec.reset(avcodec_alloc_context3(nullptr));
        if (!handles->codec || avcodec_parameters_to_context(handles->codec.get(), parameters) < 0)
            handles->parser.reset();
    }
    handles->fileSize = opened->pb ? avio_size(opened->pb) : -1;
    m_handles = std::move(handles);
    return Done{};
}

std::optional<StoredPicture> StoredPictureScan::next()
{
    if (!m_handles)
        return std::nullopt;
    Handles& h = *m_handles;
    while (av_read_frame(h.format.get(), h.packet.get()) >= 0) {
        AVPacket& packet = *h.packet;
        h.position = std::max(h.position, packet.pos);
        if (packet.stream_index != h.streamIndex) {
            av_packet_unref(&packet);
            continue;
        }
        StoredPicture picture;
        picture.bytes = static_cast<std::uint32_t>(std::max(packet.size, 0));
        picture.key = (packet.flags & AV_PKT_FLAG_KEY) != 0;
        picture.frame = m_reader->frameOfPacket(packet.dts, packet.pos, picture.bytes);
        if (h.parser && packet.size > 0) {
            std::uint8_t* out = nullptr;
            int outSize = 0;
            av_parser_parse2(h.parser.get(), h.codec.get(), &out, &outSize, packet.data,
                             packet.size, packet.pts, packet.dts, packet.pos);
            picture.type = PictureTypeOfAv(h.parser->pict_type);
        }
        av_packet_unref(&packet);
        // Pictures never shown (cut away by an edit list, or before the first key frame) and
        // packets the reader never listed are no frames.
        if (picture.frame >= 0)
            return picture;
    }
    h.position = h.fileSize;
    m_handles.reset();
    return std::nullopt;
}

int StoredPictureScan::permille() const
{
    if (!m_handles)
        return 1000;
    if (m_handles->fileSize <= 0)
        return 0;
    return static_cast<int>(
        std::clamp<std::int64_t>(m_handles->position * 1000 / m_handles->fileSize, 0, 1000));
}
