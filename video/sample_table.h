#pragma once

#include <cstdint>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

enum class KeySearch
{
    Next,
    Previous,
};

// A timestamp a container did not give.
inline constexpr std::int64_t kNoTimestamp = std::numeric_limits<std::int64_t>::min();

// One entry of a container's index, or one packet of a file read through, in storage order.
struct IndexEntry
{
    std::int64_t timestamp = 0;      // the time a seek to this packet asks for
    std::int64_t pts = kNoTimestamp; // presentation time in the stream's time base
    std::int64_t dts = kNoTimestamp; // decoding time in the stream's time base
    std::int64_t position = -1;      // byte position in the file; -1 when unknown
    std::uint32_t size = 0;          // stored (compressed) bytes; 0 for a dropped frame
    bool key = false;
    bool discarded = false; // decoded for the pictures that refer to it, never shown (edit lists)
};

enum class SampleNumbering
{
    // AVI: the time base is one sample, so a timestamp is a sample number and a gap between two
    // timestamps is a dropped frame whose empty chunk the index left out.
    ByTimestamp,
    // Containers that give every packet a presentation time: frames are numbered in the order in
    // which they are shown, the order the decoder hands them out.
    ByPresentation,
    // Streams without presentation times (raw elementary streams): the packets, already in
    // storage order, are numbered from 0, and the decoder's reordering delay tells which frame a
    // picture is.
    ByOrder,
};

// The frames of a video stream and the packets that hold them, as the container's index or a read
// through the file describes them: the frame range, every frame's stored size and key-frame flag,
// the packet to start decoding from for a frame, and the way back from a packet read from the file
// to its place in storage. Dropped frames (AVI samples without data) have size 0, are never key
// frames and are never handed to a decoder.
class SampleTable
{
public:
    // A packet of the stream, in storage order.
    struct Packet
    {
        int frame = 0; // the frame whose picture it holds; -1 when it is never shown
        std::uint32_t size = 0;
        bool key = false;
        std::int64_t timestamp = 0; // what a seek to it asks for
        std::int64_t position = -1;
        // Where a seek by position goes for it: its own position, or that of the packet before
        // it whose position is known (a picture that starts inside another's transport packet
        // has none of its own).
        std::int64_t seekPosition = -1;
        std::int64_t dts = kNoTimestamp;
    };

    // Empty when the frame numbers do not fit in 32 bits with room for one past the last. A
    // table asked to number by presentation whose packets lack presentation times, or share
    // them, numbers by order instead.
    static std::optional<SampleTable> build(const std::vector<IndexEntry>& entries,
                                            SampleNumbering numbering);

    SampleTable() = default;

    SampleNumbering numbering() const { return m_numbering; }
    int first() const { return m_first; }
    int count() const { return m_count; }
    int last() const { return m_first + m_count - 1; }
    bool contains(int frame) const { return frame >= m_first && frame - m_first < m_count; }

    bool isStored(int frame) const { return packetOfFrame(frame) >= 0; }
    std::uint32_t storedSize(int frame) const;
    bool isKey(int frame) const;
    // The nearest key frame at or after (Next) or at or before (Previous) from; -1 when none.
    int findKey(int from, KeySearch direction) const;
    // The nearest frame with data at or before frame; -1 when none.
    int previousStored(int frame) const;
    // The presentation time of a frame in the stream's time base, when numbered by
    // presentation; nothing otherwise.
    std::optional<std::int64_t> presentationTime(int frame) const;

    int packetCount() const { return static_cast<int>(m_packets.size()); }
    const Packet& packet(int index) const { return m_packets[static_cast<std::size_t>(index)]; }
    // The packet that holds a frame's picture; -1 for a dropped frame or one outside the table.
    int packetOfFrame(int frame) const;
    // The key packet from which decoding brings out the frame: the last one stored at or before
    // the frame's own packet that is not shown after it (a key frame's group may start with
    // pictures shown before it, which need the group before). -1 when there is none.
    int decodeStart(int frame) const;
    // The key packet stored last before packet; -1 when none.
    int previousKeyPacket(int packet) const;
    // The packet read from the file that has this decoding timestamp (AVI), or this byte position
    // or else this decoding timestamp, and this size (the others); -1 when it matches none. Right
    // after a seek by position, a demuxer may hand out the rest of a picture cut by the seek
    // under the next one's position and time: its size tells it apart.
    int packetOfRead(std::int64_t dts, std::int64_t position, std::uint32_t size) const;

private:
    static bool numberByPresentation(SampleTable& table, const std::vector<IndexEntry>& entries);
    void listKeysAndPositions();

    SampleNumbering m_numbering = SampleNumbering::ByOrder;
    int m_first = 0;
    int m_count = 0;
    std::vector<Packet> m_packets;    // storage order
    std::vector<int> m_frameToPacket; // by presentation: frame - first to packet
    std::vector<std::int64_t> m_pts;  // by presentation: frame - first to its time
    std::vector<int> m_keyFrames;     // ascending
    std::vector<int> m_keyPackets;    // ascending
    std::vector<std::pair<std::int64_t, int>> m_byPosition; // position to packet
    std::vector<std::pair<std::int64_t, int>> m_byDts;      // decoding time to packet
};
