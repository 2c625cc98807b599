#include "video/av_memory_input.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int kBufferSize = 4096;

} // namespace

AvMemoryInput::AvMemoryInput(std::span<const std::uint8_t> bytes)
    : m_bytes(bytes.begin(), bytes.end())
{
    auto* buffer = static_cast<std::uint8_t*>(av_malloc(kBufferSize));
    if (buffer == nullptr)
        return;
    m_context.reset(avio_alloc_context(buffer, kBufferSize, 0, this, &AvMemoryInput::read, nullptr,
                                       &AvMemoryInput::seek));
    if (!m_context)
        av_free(buffer);
}

int AvMemoryInput::read(void* opaque, std::uint8_t* buffer, int size)
{
    auto* input = static_cast<AvMemoryInput*>(opaque);
    const auto end = static_cast<std::int64_t>(input->m_bytes.size());
    const std::int64_t count = std::min(end - std::min(input->m_position, end),
                                        static_cast<std::int64_t>(std::max(size, 0)));
    if (count == 0)
        return AVERROR_EOF;
    std::memcpy(buffer, input->m_bytes.data() + input->m_position, static_cast<std::size_t>(count));
    input->m_position += count;
    return static_cast<int>(count);
}

std::int64_t AvMemoryInput::seek(void* opaque, std::int64_t offset, int whence)
{
    auto* input = static_cast<AvMemoryInput*>(opaque);
    const auto size = static_cast<std::int64_t>(input->m_bytes.size());
    std::int64_t base = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return size;
    case SEEK_SET:
        break;
    case SEEK_CUR:
        base = input->m_position;
        break;
    case SEEK_END:
        base = size;
        break;
    default:
        return AVERROR(EINVAL);
    }
    // As in a file, a position past the end is allowed and reads nothing; one before the start
    // is not. The bounds keep a hostile offset from overflowing.
    constexpr std::int64_t kFar = std::int64_t(1) << 60;
    const std::int64_t position = base + std::clamp(offset, -kFar, kFar);
    if (position < 0)
        return AVERROR(EINVAL);
    input->m_position = std::min(position, kFar);
    return input->m_position;
}
