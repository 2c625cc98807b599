#pragma once

// The frame tables of videos opened before, kept in the user's cache folder
// ($XDG_CACHE_HOME/clipmint, else ~/.cache/clipmint), so that opening the same unchanged file
// again needs no read through it. A table is found by the file's path, device and inode, and
// used only while the file's size and modification time (in nanoseconds) are the ones it was
// made from. A cache file that is damaged, cut short or made for another file is not used.

#include "video/sample_table.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// What a table is kept for.
struct IndexKey
{
    std::string path; // as opened
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0; // nanoseconds since the epoch

    bool operator==(const IndexKey&) const = default;
};

// The key of the file at path as it is now; none for one that is not a regular file.
std::optional<IndexKey> IndexKeyOf(const std::string& path);

// The bytes a table is kept as, and back; none for bytes that are not a whole table of key.
std::vector<std::uint8_t> EncodeIndex(const IndexKey& key, const std::vector<IndexEntry>& entries);
std::optional<std::vector<IndexEntry>> DecodeIndex(std::span<const std::uint8_t> bytes,
                                                   const IndexKey& key);

// The cache folder; empty when neither XDG_CACHE_HOME nor HOME names one.
std::string IndexCacheFolder();

// The table kept for key; none when there is none, or none that can be trusted.
std::optional<std::vector<IndexEntry>> LoadIndex(const IndexKey& key);
// Keeps the table of key, whole or not at all, and lets the oldest tables go while the cache is
// larger than its cap. Failures are quiet: the cache only saves time.
void StoreIndex(const IndexKey& key, const std::vector<IndexEntry>& entries);
