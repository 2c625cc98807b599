#pragma once

// Owning handles for the FFmpeg objects of the video layer, each released by its library's own
// free function, and the text of an FFmpeg error code.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavfilter/avfilter.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libswscale/swscale.h>
}

#include <memory>
#include <string>

struct AvFormatContextCloser
{
    void operator()(AVFormatContext* context) const { avformat_close_input(&context); }
};

struct AvCodecContextFreer
{
    void operator()(AVCodecContext* context) const { avcodec_free_context(&context); }
};

struct AvFrameFreer
{
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};

struct AvPacketFreer
{
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};

struct SwsContextFreer
{
    void operator()(SwsContext* context) const { sws_freeContext(context); }
};

struct AvFilterGraphFreer
{
    void operator()(AVFilterGraph* graph) const { avfilter_graph_free(&graph); }
};

struct AvFilterInOutFreer
{
    void operator()(AVFilterInOut* list) const { avfilter_inout_free(&list); }
};

// A custom I/O context owns its buffer, which the library may have replaced by one of its own.
struct AvIoContextFreer
{
    void operator()(AVIOContext* context) const
    {
        if (context != nullptr)
            av_freep(&context->buffer);
        avio_context_free(&context);
    }
};

using AvFormatContextPtr = std::unique_ptr<AVFormatContext, AvFormatContextCloser>;
using AvCodecContextPtr = std::unique_ptr<AVCodecContext, AvCodecContextFreer>;
using AvFramePtr = std::unique_ptr<AVFrame, AvFrameFreer>;
using AvPacketPtr = std::unique_ptr<AVPacket, AvPacketFreer>;
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextFreer>;
using AvFilterGraphPtr = std::unique_ptr<AVFilterGraph, AvFilterGraphFreer>;
using AvFilterInOutPtr = std::unique_ptr<AVFilterInOut, AvFilterInOutFreer>;
using AvIoContextPtr = std::unique_ptr<AVIOContext, AvIoContextFreer>;

inline std::string avErrorText(int error)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(error, text, sizeof text);
    return text;
}
