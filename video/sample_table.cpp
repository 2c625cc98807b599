#include "video/sample_table.h"

#include <algorithm>

namespace {

constexpr std::int64_t kLowestSample = std::numeric_limits<int>::min();
// The frame scan stops one past the last sample, so the last one must leave room for that.
constexpr std::int64_t kHighestSample = std::numeric_limits<int>::max() - 1;

} // namespace

std::optional<SampleTable> SampleTable::build(const std::vector<IndexEntry>& entries,
                                              SampleNumbering numbering)
{
    SampleTable table;
    table.m_numbering = numbering;
    if (entries.empty())
        return table;
    if (static_cast<std::int64_t>(entries.size()) > kHighestSample + 1)
        return std::nullopt;
    if (numbering == SampleNumbering::ByPresentation) {
        if (numberByPresentation(table, entries)) {
            table.listKeysAndPositions();
            return table;
        }
        table = SampleTable();
        table.m_numbering = SampleNumbering::ByOrder;
    }

    if (table.m_numbering == SampleNumbering::ByTimestamp) {
        const auto [lowest, highest] = std::minmax_element(
            entries.begin(), entries.end(),
            [](const IndexEntry& a, const IndexEntry& b) { return a.timestamp < b.timestamp; });
        if (lowest->timestamp < kLowestSample || highest->timestamp > kHighestSample)
            return std::nullopt;
        table.m_first = static_cast<int>(lowest->timestamp);
        table.m_count = static_cast<int>(highest->timestamp - lowest->timestamp + 1);
    } else {
        table.m_count = static_cast<int>(entries.size());
    }

    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IndexEntry& entry = entries[i];
        if (entry.size == 0)
            continue;
        const int frame = table.m_numbering == SampleNumbering::ByTimestamp
                              ? static_cast<int>(entry.timestamp)
                              : static_cast<int>(i);
        table.m_packets.push_back(
            {frame, entry.size, entry.key, entry.timestamp, entry.position, -1, entry.dts});
    }
    // Frames are stored in the order of their numbers. An index that names one sample twice
    // keeps its first entry.
    std::stable_sort(table.m_packets.begin(), table.m_packets.end(),
                     [](const Packet& a, const Packet& b) { return a.frame < b.frame; });
    table.m_packets.erase(
        std::unique(table.m_packets.begin(), table.m_packets.end(),
                    [](const Packet& a, const Packet& b) { return a.frame == b.frame; }),
        table.m_packets.end());
    table.listKeysAndPositions();
    return table;
}

// Numbers the frames in the order of their presentation times. The decoder hands out nothing
// before the first key frame, nor the pictures of the first key frame's group that are shown
// before it and need a group the file does not have: those packets are never shown. False when a
// frame has no presentation time or shares one with another, so that the order is not known.
bool SampleTable::numberByPresentation(SampleTable& table, const std::vector<IndexEntry>& entries)
{
    const auto firstKey = std::find_if(entries.begin(), entries.end(),
                                       [](const IndexEntry& entry) { return entry.key; });
    const std::size_t firstKeyPacket = static_cast<std::size_t>(firstKey - entries.begin());
    const std::int64_t firstKeyTime = firstKey != entries.end() ? firstKey->pts : kNoTimestamp;
    std::vector<int> shown; // packets, to be put in presentation order
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IndexEntry& entry = entries[i];
        table.m_packets.push_back(
            {-1, entry.size, entry.key, entry.timestamp, entry.position, -1, entry.dts});
        if (entry.size == 0 || entry.discarded)
            continue;
        if (entry.pts == kNoTimestamp)
            return false;
        const bool beforeFirstKey =
            firstKey != entries.end() &&
            (i < firstKeyPacket || (firstKeyTime != kNoTimestamp && entry.pts < firstKeyTime));
        if (!beforeFirstKey)
            shown.push_back(static_cast<int>(i));
    }
    std::stable_sort(shown.begin(), shown.end(),
                     [&entries](int a, int b) { return entries[a].pts < entries[b].pts; });
    for (std::size_t frame = 1; frame < shown.size(); ++frame) {
        if (entries[shown[frame]].pts == entries[shown[frame - 1]].pts)
            return false;
    }
    table.m_count = static_cast<int>(shown.size());
    table.m_frameToPacket = shown;
    table.m_pts.reserve(shown.size());
    for (std::size_t frame = 0; frame < shown.size(); ++frame) {
        table.m_packets[static_cast<std::size_t>(shown[frame])].frame = static_cast<int>(frame);
        table.m_pts.push_back(entries[shown[frame]].pts);
    }
    return true;
}

void SampleTable::listKeysAndPositions()
{
    std::int64_t knownPosition = -1;
    for (std::size_t i = 0; i < m_packets.size(); ++i) {
        Packet& packet = m_packets[i];
        if (packet.key && packet.size > 0) {
            m_keyPackets.push_back(static_cast<int>(i));
            if (packet.frame >= 0)
                m_keyFrames.push_back(packet.frame);
        }
        if (packet.position >= 0) {
            knownPosition = packet.position;
            m_byPosition.emplace_back(packet.position, static_cast<int>(i));
        }
        packet.seekPosition = knownPosition;
        if (packet.dts != kNoTimestamp)
            m_byDts.emplace_back(packet.dts, static_cast<int>(i));
    }
    std::sort(m_keyFrames.begin(), m_keyFrames.end());
    // A position or time named twice keeps the packet stored first.
    const auto byValue = [](const auto& a, const auto& b) { return a.first < b.first; };
    std::stable_sort(m_byPosition.begin(), m_byPosition.end(), byValue);
    std::stable_sort(m_byDts.begin(), m_byDts.end(), byValue);
}

namespace {

int lookUp(const std::vector<std::pair<std::int64_t, int>>& map, std::int64_t value)
{
    const auto match = std::lower_bound(map.begin(), map.end(), value,
                                        [](const std::pair<std::int64_t, int>& entry,
                                           std::int64_t wanted) { return entry.first < wanted; });
    return match != map.end() && match->first == value ? match->second : -1;
}

} // namespace

int SampleTable::packetOfFrame(int frame) const
{
    if (!contains(frame))
        return -1;
    if (m_numbering == SampleNumbering::ByPresentation)
        return m_frameToPacket[static_cast<std::size_t>(frame - m_first)];
    const auto it =
        std::lower_bound(m_packets.begin(), m_packets.end(), frame,
                         [](const Packet& packet, int wanted) { return packet.frame < wanted; });
    return it != m_packets.end() && it->frame == frame ? static_cast<int>(it - m_packets.begin())
                                                       : -1;
}

std::uint32_t SampleTable::storedSize(int frame) const
{
    const int index = packetOfFrame(frame);
    return index >= 0 ? packet(index).size : 0;
}

bool SampleTable::isKey(int frame) const
{
    const int index = packetOfFrame(frame);
    return index >= 0 && packet(index).key;
}

int SampleTable::findKey(int from, KeySearch direction) const
{
    if (direction == KeySearch::Next) {
        const auto it = std::lower_bound(m_keyFrames.begin(), m_keyFrames.end(), from);
        return it != m_keyFrames.end() ? *it : -1;
    }
    const auto it = std::upper_bound(m_keyFrames.begin(), m_keyFrames.end(), from);
    return it != m_keyFrames.begin() ? *std::prev(it) : -1;
}

int SampleTable::previousStored(int frame) const
{
    if (m_numbering == SampleNumbering::ByPresentation) {
        if (m_count == 0 || frame < m_first)
            return -1;
        return std::min(frame, last());
    }
    const auto it =
        std::upper_bound(m_packets.begin(), m_packets.end(), frame,
                         [](int wanted, const Packet& packet) { return wanted < packet.frame; });
    return it != m_packets.begin() ? std::prev(it)->frame : -1;
}

std::optional<std::int64_t> SampleTable::presentationTime(int frame) const
{
    if (m_numbering != SampleNumbering::ByPresentation || !contains(frame))
        return std::nullopt;
    return m_pts[static_cast<std::size_t>(frame - m_first)];
}

int SampleTable::decodeStart(int frame) const
{
    const int own = packetOfFrame(frame);
    if (own < 0)
        return -1;
    auto it = std::upper_bound(m_keyPackets.begin(), m_keyPackets.end(), own);
    while (it != m_keyPackets.begin()) {
        --it;
        if (packet(*it).frame <= frame)
            return *it;
    }
    return -1;
}

int SampleTable::previousKeyPacket(int index) const
{
    const auto it = std::lower_bound(m_keyPackets.begin(), m_keyPackets.end(), index);
    return it != m_keyPackets.begin() ? *std::prev(it) : -1;
}

int SampleTable::packetOfRead(std::int64_t dts, std::int64_t position, std::uint32_t size) const
{
    if (m_numbering == SampleNumbering::ByTimestamp) {
        if (dts < kLowestSample || dts > kHighestSample)
            return -1;
        return packetOfFrame(static_cast<int>(dts));
    }
    if (position >= 0) {
        if (const int index = lookUp(m_byPosition, position);
            index >= 0 && packet(index).size == size)
            return index;
    }
    if (dts != kNoTimestamp) {
        if (const int index = lookUp(m_byDts, dts); index >= 0 && packet(index).size == size)
            return index;
    }
    return -1;
}
