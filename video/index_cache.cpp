#include "video/index_cache.h"

#include "platform/file_replacement.h"

#include <zlib.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

constexpr char kMagic[8] = {'C', 'M', 'I', 'N', 'D', 'E', 'X', '1'};
// The cache as a whole stays below this; the tables used longest ago go first.
constexpr std::uintmax_t kCacheCap = std::uintmax_t(256) << 20;
constexpr std::size_t kEntryBytes = 5 * 8 + 1;
// No table is larger than the whole cache.
constexpr std::uint64_t kMaxEntries = kCacheCap / kEntryBytes;

class Writer
{
public:
    void u8(std::uint8_t value) { m_bytes.push_back(value); }
    void u64(std::uint64_t value)
    {
        for (int i = 0; i < 8; ++i)
            m_bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
    void bytes(const void* data, std::size_t size)
    {
        const auto* begin = static_cast<const std::uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), begin, begin + size);
    }
    std::vector<std::uint8_t>& result() { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

class Reader
{
public:
    explicit Reader(std::span<const std::uint8_t> bytes) : m_bytes(bytes) {}
    bool take(void* out, std::size_t size)
    {
        if (m_bytes.size() - m_at < size)
            return false;
        std::memcpy(out, m_bytes.data() + m_at, size);
        m_at += size;
        return true;
    }
    bool u64(std::uint64_t& value)
    {
        std::uint8_t raw[8];
        if (!take(raw, 8))
            return false;
        value = 0;
        for (int i = 0; i < 8; ++i)
            value |= std::uint64_t(raw[i]) << (8 * i);
        return true;
    }
    std::size_t left() const { return m_bytes.size() - m_at; }

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_at = 0;
};

std::uint32_t checksum(std::span<const std::uint8_t> bytes)
{
    uLong crc = crc32(0, nullptr, 0);
    for (std::size_t at = 0; at < bytes.size();) {
        const auto piece = static_cast<uInt>(std::min<std::size_t>(bytes.size() - at, 1u << 30));
        crc = crc32(crc, bytes.data() + at, piece);
        at += piece;
    }
    return static_cast<std::uint32_t>(crc);
}

// The cache file of a key: the path, device and inode hashed, so that one file has one table.
std::string cacheFileOf(const IndexKey& key)
{
    std::uint64_t hash = 1469598103934665603ull;
    const auto mix = [&hash](const void* data, std::size_t size) {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        for (std::size_t i = 0; i < size; ++i)
            hash = (hash ^ bytes[i]) * 1099511628211ull;
    };
    mix(key.path.data(), key.path.size());
    mix(&key.device, sizeof key.device);
    mix(&key.inode, sizeof key.inode);
    char name[32];
    std::snprintf(name, sizeof name, "%016llx.index", static_cast<unsigned long long>(hash));
    return IndexCacheFolder() + "/" + name;
}

void keepBelowCap(const std::string& folder)
{
    std::error_code error;
    std::vector<std::pair<fs::file_time_type, fs::path>> tables;
    std::uintmax_t total = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (entry.path().extension() != ".index" || !entry.is_regular_file(error))
            continue;
        total += entry.file_size(error);
        tables.emplace_back(entry.last_write_time(error), entry.path());
    }
    if (total <= kCacheCap)
        return;
    std::sort(tables.begin(), tables.end());
    for (const auto& [time, path] : tables) {
        if (total <= kCacheCap)
            break;
        const std::uintmax_t size = fs::file_size(path, error);
        if (fs::remove(path, error))
            total -= std::min(total, size);
    }
}

} // namespace

std::optional<IndexKey> IndexKeyOf(const std::string& path)
{
    struct stat status
    {
    };
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    IndexKey key;
    key.path = path;
    key.device = status.st_dev;
    key.inode = status.st_ino;
    key.size = static_cast<std::uint64_t>(status.st_size);
    key.modified = std::int64_t(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return key;
}

std::vector<std::uint8_t> EncodeIndex(const IndexKey& key, const std::vector<IndexEntry>& entries)
{
    Writer out;
    out.bytes(kMagic, sizeof kMagic);
    out.u64(key.path.size());
    out.bytes(key.path.data(), key.path.size());
    out.u64(key.device);
    out.u64(key.inode);
    out.u64(key.size);
    out.u64(static_cast<std::uint64_t>(key.modified));
    out.u64(entries.size());
    for (const IndexEntry& entry : entries) {
        out.u64(static_cast<std::uint64_t>(entry.timestamp));
        out.u64(static_cast<std::uint64_t>(entry.pts));
        out.u64(static_cast<std::uint64_t>(entry.dts));
        out.u64(static_cast<std::uint64_t>(entry.position));
        out.u64(entry.size);
        out.u8(static_cast<std::uint8_t>((entry.key ? 1 : 0) | (entry.discarded ? 2 : 0)));
    }
    std::vector<std::uint8_t>& bytes = out.result();
    const std::uint32_t crc = checksum(bytes);
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
    return std::move(bytes);
}

std::optional<std::vector<IndexEntry>> DecodeIndex(std::span<const std::uint8_t> bytes,
                                                   const IndexKey& key)
{
    if (bytes.size() < sizeof kMagic + 4)
        return std::nullopt;
    const std::span<const std::uint8_t> body = bytes.first(bytes.size() - 4);
    const std::uint8_t* end = bytes.data() + body.size();
    const std::uint32_t stored = std::uint32_t(end[0]) | std::uint32_t(end[1]) << 8 |
                                 std::uint32_t(end[2]) << 16 | std::uint32_t(end[3]) << 24;
    if (checksum(body) != stored)
        return std::nullopt;

    Reader in(body);
    char magic[sizeof kMagic];
    std::uint64_t pathLength = 0;
    if (!in.take(magic, sizeof magic) || std::memcmp(magic, kMagic, sizeof magic) != 0 ||
        !in.u64(pathLength) || pathLength != key.path.size() || pathLength > in.left())
        return std::nullopt;
    IndexKey found;
    found.path.resize(pathLength);
    std::uint64_t modified = 0;
    std::uint64_t count = 0;
    if (!in.take(found.path.data(), pathLength) || !in.u64(found.device) || !in.u64(found.inode) ||
        !in.u64(found.size) || !in.u64(modified) || !in.u64(count))
        return std::nullopt;
    found.modified = static_cast<std::int64_t>(modified);
    if (found != key || count > kMaxEntries || in.left() != count * kEntryBytes)
        return std::nullopt;

    std::vector<IndexEntry> entries(count);
    for (IndexEntry& entry : entries) {
        std::uint64_t timestamp = 0, pts = 0, dts = 0, position = 0, size = 0;
        std::uint8_t flags = 0;
        if (!in.u64(timestamp) || !in.u64(pts) || !in.u64(dts) || !in.u64(position) ||
            !in.u64(size) || !in.take(&flags, 1) || size > 0xFFFFFFFFu || flags > 3)
            return std::nullopt;
        entry.timestamp = static_cast<std::int64_t>(timestamp);
        entry.pts = static_cast<std::int64_t>(pts);
        entry.dts = static_cast<std::int64_t>(dts);
        entry.position = static_cast<std::int64_t>(position);
        entry.size = static_cast<std::uint32_t>(size);
        entry.key = (flags & 1) != 0;
        entry.discarded = (flags & 2) != 0;
    }
    return entries;
}

std::string IndexCacheFolder()
{
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && cache[0] == '/')
        return std::string(cache) + "/clipmint";
    if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        return std::string(home) + "/.cache/clipmint";
    return {};
}

std::optional<std::vector<IndexEntry>> LoadIndex(const IndexKey& key)
{
    if (IndexCacheFolder().empty())
        return std::nullopt;
    const std::string path = cacheFileOf(key);
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (!fs::is_regular_file(fs::symlink_status(path, error)) || error || size > kCacheCap)
        return std::nullopt;
    std::ifstream file(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size)))
        return std::nullopt;
    std::optional<std::vector<IndexEntry>> entries = DecodeIndex(bytes, key);
    if (entries) // used now: the last to go when the cache is too large
        fs::last_write_time(path, fs::file_time_type::clock::now(), error);
    return entries;
}

void StoreIndex(const IndexKey& key, const std::vector<IndexEntry>& entries)
{
    const std::string folder = IndexCacheFolder();
    std::error_code error;
    if (folder.empty() || (!fs::create_directories(folder, error) && error))
        return;
    const std::vector<std::uint8_t> bytes = EncodeIndex(key, entries);
    if (bytes.size() > kCacheCap)
        return;
    CFileReplacement file(cacheFileOf(key));
    std::FILE* stream = file.open();
    if (stream == nullptr)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), stream);
    if (file.commit() == 0)
        keepBelowCap(folder);
}
