#include "video/sample_table.h"

#include <algorithm>
#include <limits>

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

    if (numbering == SampleNumbering::ByTimestamp) {
        const auto [lowest, highest] = std::minmax_element(
            entries.begin(), entries.end(),
            [](const IndexEntry& a, const IndexEntry& b) { return a.timestamp < b.timestamp; });
        if (lowest->timestamp < kLowestSample || highest->timestamp > kHighestSample)
            return std::nullopt;
        table.m_first = static_cast<int>(lowest->timestamp);
        table.m_count = static_cast<int>(highest->timestamp - lowest->timestamp + 1);
    } else {
        if (static_cast<std::int64_t>(entries.size()) > kHighestSample + 1)
            return std::nullopt;
        table.m_count = static_cast<int>(entries.size());
    }

    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IndexEntry& entry = entries[i];
        if (entry.size == 0)
            continue;
        const int sample = numbering == SampleNumbering::ByTimestamp
                               ? static_cast<int>(entry.timestamp)
                               : static_cast<int>(i);
        table.m_stored.push_back({sample, entry.size, entry.key, entry.timestamp, entry.position});
    }
    // An index that names one sample twice keeps its first entry.
    std::stable_sort(table.m_stored.begin(), table.m_stored.end(),
                     [](const Stored& a, const Stored& b) { return a.sample < b.sample; });
    table.m_stored.erase(
        std::unique(table.m_stored.begin(), table.m_stored.end(),
                    [](const Stored& a, const Stored& b) { return a.sample == b.sample; }),
        table.m_stored.end());

    for (const Stored& stored : table.m_stored) {
        if (stored.key)
            table.m_keys.push_back(stored.sample);
        if (stored.position >= 0)
            table.m_byPosition.emplace_back(stored.position, stored.sample);
    }
    std::sort(table.m_byPosition.begin(), table.m_byPosition.end());
    return table;
}

const SampleTable::Stored* SampleTable::find(int sample) const
{
    const auto it =
        std::lower_bound(m_stored.begin(), m_stored.end(), sample,
                         [](const Stored& stored, int wanted) { return stored.sample < wanted; });
    return it != m_stored.end() && it->sample == sample ? &*it : nullptr;
}

std::uint32_t SampleTable::storedSize(int sample) const
{
    const Stored* stored = find(sample);
    return stored ? stored->size : 0;
}

bool SampleTable::isKey(int sample) const
{
    const Stored* stored = find(sample);
    return stored && stored->key;
}

int SampleTable::findKey(int from, KeySearch direction) const
{
    if (direction == KeySearch::Next) {
        const auto it = std::lower_bound(m_keys.begin(), m_keys.end(), from);
        return it != m_keys.end() ? *it : -1;
    }
    const auto it = std::upper_bound(m_keys.begin(), m_keys.end(), from);
    return it != m_keys.begin() ? *std::prev(it) : -1;
}

int SampleTable::previousStored(int sample) const
{
    const auto it =
        std::upper_bound(m_stored.begin(), m_stored.end(), sample,
                         [](int wanted, const Stored& stored) { return wanted < stored.sample; });
    return it != m_stored.begin() ? std::prev(it)->sample : -1;
}

std::int64_t SampleTable::timestamp(int sample) const
{
    const Stored* stored = find(sample);
    return stored ? stored->timestamp : 0;
}

int SampleTable::sampleOfPacket(std::int64_t dts, std::int64_t position) const
{
    if (m_numbering == SampleNumbering::ByTimestamp) {
        if (dts < kLowestSample || dts > kHighestSample)
            return -1;
        return isStored(static_cast<int>(dts)) ? static_cast<int>(dts) : -1;
    }
    if (position < 0)
        return -1;
    const auto match = std::lower_bound(m_byPosition.begin(), m_byPosition.end(), position,
                                        [](const std::pair<std::int64_t, int>& entry,
                                           std::int64_t wanted) { return entry.first < wanted; });
    return match != m_byPosition.end() && match->first == position ? match->second : -1;
}
