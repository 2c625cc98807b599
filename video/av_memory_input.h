#pragma once

#include "video/av_handles.h"

#include <cstdint>
#include <span>
#include <vector>

// A file held in memory, read by FFmpeg through an I/O context of its own as it would read the
// file on disk: from any position, and with its size known.
class AvMemoryInput
{
public:
    explicit AvMemoryInput(std::span<const std::uint8_t> bytes);
    AvMemoryInput(const AvMemoryInput&) = delete;
    AvMemoryInput& operator=(const AvMemoryInput&) = delete;

    // The context to hand to a format context as its pb; null when it could not be allocated.
    // It must outlive the format context that reads through it.
    AVIOContext* context() const { return m_context.get(); }

private:
    static int read(void* opaque, std::uint8_t* buffer, int size);
    static std::int64_t seek(void* opaque, std::int64_t offset, int whence);

    std::vector<std::uint8_t> m_bytes;
    std::int64_t m_position = 0;
    AvIoContextPtr m_context;
};
