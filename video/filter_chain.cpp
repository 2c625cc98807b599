#include "video/filter_chain.h"

extern "C" {
#include <libavfilter/buffersink.h>
#include <libavfilter/buffersrc.h>
#include <libavutil/mathematics.h>
}

#include <cstdio>

namespace {

constexpr AVRational kTimeBase{1, 25};

// One end of the chain as avfilter_graph_parse_ptr links it: the filter and its name there.
AvFilterInOutPtr chainEnd(const char* name, AVFilterContext* filter)
{
    AvFilterInOutPtr end(avfilter_inout_alloc());
    if (!end)
        return nullptr;
    end->name = av_strdup(name);
    end->filter_ctx = filter;
    end->pad_idx = 0;
    end->next = nullptr;
    return end->name ? std::move(end) : nullptr;
}

} // namespace

bool FilterChain::build(const AVFrame& example, const std::string& filters)
{
    reset();
    AvFilterGraphPtr graph(avfilter_graph_alloc());
    if (!graph)
        return false;
    // The pixel shape and the time base are the picture's business only; the filters used here
    // look at neither.
    char arguments[160];
    std::snprintf(arguments, sizeof arguments,
                  "video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=1/1", example.width,
                  example.height, example.format, kTimeBase.num, kTimeBase.den);
    AVFilterContext* source = nullptr;
    AVFilterContext* sink = nullptr;
    if (avfilter_graph_create_filter(&source, avfilter_get_by_name("buffer"), "in", arguments,
                                     nullptr, graph.get()) < 0 ||
        avfilter_graph_create_filter(&sink, avfilter_get_by_name("buffersink"), "out", nullptr,
                                     nullptr, graph.get()) < 0)
        return false;

    AvFilterInOutPtr sourceEnd = chainEnd("in", source);
    AvFilterInOutPtr sinkEnd = chainEnd("out", sink);
    if (!sourceEnd || !sinkEnd)
        return false;
    AVFilterInOut* inputs = sinkEnd.release();
    AVFilterInOut* outputs = sourceEnd.release();
    const int parsed =
        avfilter_graph_parse_ptr(graph.get(), filters.c_str(), &inputs, &outputs, nullptr);
    // What the parser left of the two lists is ours to free.
    sinkEnd.reset(inputs);
    sourceEnd.reset(outputs);
    if (parsed < 0)
        return false;
    avfilter_graph_set_auto_convert(graph.get(), AVFILTER_AUTO_CONVERT_NONE);
    if (avfilter_graph_config(graph.get(), nullptr) < 0)
        return false;

    m_graph = std::move(graph);
    m_source = source;
    m_sink = sink;
    m_width = example.width;
    m_height = example.height;
    m_format = example.format;
    return true;
}

void FilterChain::reset()
{
    m_graph.reset();
    m_source = nullptr;
    m_sink = nullptr;
    m_width = 0;
    m_height = 0;
    m_format = -1;
}

bool FilterChain::takes(const AVFrame& picture) const
{
    return isBuilt() && picture.width == m_width && picture.height == m_height &&
           picture.format == m_format;
}

bool FilterChain::push(const AVFrame* picture)
{
    if (!isBuilt())
        return false;
    // With KEEP_REF the chain takes a new reference and leaves the picture as it is.
    return av_buffersrc_add_frame_flags(m_source, const_cast<AVFrame*>(picture),
                                        AV_BUFFERSRC_FLAG_KEEP_REF) >= 0;
}

AvFramePtr FilterChain::pull()
{
    if (!isBuilt())
        return nullptr;
    AvFramePtr picture(av_frame_alloc());
    if (!picture || av_buffersink_get_frame(m_sink, picture.get()) < 0)
        return nullptr;
    return picture;
}

std::int64_t FilterChain::timeOut(std::int64_t in) const
{
    if (!isBuilt())
        return in;
    return av_rescale_q(in, kTimeBase, av_buffersink_get_time_base(m_sink));
}
