#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

enum class KeySearch
{
    Next,
    Previous,
};

// One entry of a container's index, or one packet of a container that has no usable index.
struct IndexEntry
{
    std::int64_t timestamp = 0; // in the stream's time base
    std::int64_t position = -1; // byte position in the file; -1 when unknown
    std::uint32_t size = 0;     // stored (compressed) bytes; 0 for a dropped frame
    bool key = false;
};

enum class SampleNumbering
{
    // AVI: the time base is one sample, so a timestamp is a sample number and a gap between two
    // timestamps is a dropped frame whose empty chunk the index left out.
    ByTimestamp,
    // Other containers: the entries, already in storage order, are numbered from 0.
    ByOrder,
};

// The samples of a video stream as its index describes them: the frame range, every sample's
// stored size and key-frame flag, and the way back from a packet to its sample number. Dropped
// samples (no data) have size 0, are never key frames and are never handed to a decoder.
class SampleTable
{
public:
    // Empty when the sample numbers do not fit in 32 bits with room for one past the last.
    static std::optional<SampleTable> build(const std::vector<IndexEntry>& entries,
                                            SampleNumbering numbering);

    SampleTable() = default;

    int first() const { return m_first; }
    int count() const { return m_count; }
    int last() const { return m_first + m_count - 1; }
    bool contains(int sample) const { return sample >= m_first && sample - m_first < m_count; }

    bool isStored(int sample) const { return find(sample) != nullptr; }
    std::uint32_t storedSize(int sample) const;
    bool isKey(int sample) const;
    // The nearest key frame at or after (Next) or at or before (Previous) from; -1 when none.
    int findKey(int from, KeySearch direction) const;
    // The nearest sample with data at or before sample; -1 when none.
    int previousStored(int sample) const;
    // The index timestamp of a stored sample, the one to seek to.
    std::int64_t timestamp(int sample) const;
    // The sample that a packet read from the file holds, by its decoding timestamp (AVI) or its
    // byte position (other containers); -1 when it matches no stored sample.
    int sampleOfPacket(std::int64_t dts, std::int64_t position) const;

private:
    struct Stored
    {
        int sample = 0;
        std::uint32_t size = 0;
        bool key = false;
        std::int64_t timestamp = 0;
        std::int64_t position = -1;
    };

    const Stored* find(int sample) const;

    SampleNumbering m_numbering = SampleNumbering::ByOrder;
    int m_first = 0;
    int m_count = 0;
    std::vector<Stored> m_stored; // ascending sample numbers
    std::vector<int> m_keys;      // ascending
    std::vector<std::pair<std::int64_t, int>> m_byPosition;
};
