#include "video/frame_cache.h"

#include "platform/available_memory.h"

#include <algorithm>
#include <cstdint>

DecodedPicturePtr FrameCache::find(int frame)
{
    const auto entry = m_byFrame.find(frame);
    if (entry == m_byFrame.end())
        return nullptr;
    m_recent.splice(m_recent.begin(), m_recent, entry->second);
    return *entry->second;
}

void FrameCache::keep(DecodedPicturePtr picture)
{
    keep(std::move(picture), m_budget);
}

void FrameCache::keep(DecodedPicturePtr picture, std::size_t budget)
{
    budget = std::min(budget, m_budget);
    if (!picture || budget == 0)
        return;
    const std::size_t bytes = picture->bytes();
    if (bytes > budget)
        return;
    if (const auto old = m_byFrame.find(picture->number); old != m_byFrame.end()) {
        m_bytes -= (*old->second)->bytes();
        m_recent.erase(old->second);
        m_byFrame.erase(old);
    }
    // Room is made first, so that the cache never holds more than its budget.
    evictBeyond(budget - bytes);
    m_pictureBytes = bytes;
    m_bytes += bytes;
    const int frame = picture->number;
    m_recent.push_front(std::move(picture));
    m_byFrame[frame] = m_recent.begin();
}

namespace {

// Pictures kept before a wanted frame: stepping back past them decodes the group again, once
// for this many steps.
constexpr std::int64_t kKeptBeforeTarget = 32;

} // namespace

bool FrameCache::worthKeeping(int frame, int target) const
{
    if (m_budget == 0)
        return false;
    if (frame >= target)
        return true;
    std::int64_t fitting = kKeptBeforeTarget;
    if (m_pictureBytes > 0)
        fitting = std::min(fitting, static_cast<std::int64_t>(m_budget / m_pictureBytes));
    return std::int64_t(target) - frame < fitting;
}

void FrameCache::evictBeyond(std::size_t budget)
{
    while (m_bytes > budget && !m_recent.empty()) {
        m_bytes -= m_recent.back()->bytes();
        m_byFrame.erase(m_recent.back()->number);
        m_recent.pop_back();
    }
}

std::size_t DefaultFrameCacheBudget()
{
    constexpr std::size_t kMostBytes = std::size_t(256) << 20;
    return std::min(kMostBytes, AvailableMemoryBytes() / 4);
}
