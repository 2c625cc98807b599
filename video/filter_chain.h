#pragma once

#include "video/av_handles.h"

#include <cstdint>
#include <string>

// A chain of libavfilter filters with one input and one output, built for pictures of one size
// and pixel format. Filters convert nothing behind the chain's back: a chain whose filters
// can't take the pictures as they come fails to build.
class FilterChain
{
public:
    FilterChain() = default;
    FilterChain(const FilterChain&) = delete;
    FilterChain& operator=(const FilterChain&) = delete;

    // Builds the chain, in libavfilter's syntax, for pictures like example; false when it can't
    // be built. A built chain is replaced.
    bool build(const AVFrame& example, const std::string& filters);
    void reset();
    bool isBuilt() const { return m_graph != nullptr; }
    // Whether the chain was built for pictures of this size and format.
    bool takes(const AVFrame& picture) const;

    // Hands a picture in (the chain refers to its buffers, which nothing changes), or with null
    // the end of the pictures; false when the chain refused it.
    bool push(const AVFrame* picture);
    // The next picture out; null when none is ready.
    AvFramePtr pull();
    // The time a picture pushed with time `in` comes out with: filters may count in finer steps.
    std::int64_t timeOut(std::int64_t in) const;

private:
    AvFilterGraphPtr m_graph;
    AVFilterContext* m_source = nullptr; // owned by m_graph
    AVFilterContext* m_sink = nullptr;
    int m_width = 0;
    int m_height = 0;
    int m_format = -1;
};
