// A frame table from the cache folder, as a damaged or planted cache file gives it. Input: the
// part of a cache file after its key (the count and the entries); the harness puts the key in
// front and a right checksum behind, so that the entries are read, and reads the input as a
// whole file too. A table that is taken must build into a frame table, or be refused, and every
// frame of a built one answers its questions.
#include "fuzz_check.h"
#include "video/index_cache.h"

#include <zlib.h>

#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const IndexKey key{"/videos/clip.ts", 2049, 131, 1000000, 1700000000123456789};
    static_cast<void>(DecodeIndex({data, size}, key));

    std::vector<std::uint8_t> bytes = EncodeIndex(key, {});
    bytes.resize(bytes.size() - 12); // the empty table's count and checksum
    bytes.insert(bytes.end(), data, data + size);
    const uLong crc = crc32(crc32(0, nullptr, 0), bytes.data(), static_cast<uInt>(bytes.size()));
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
    const auto entries = DecodeIndex(bytes, key);
    if (!entries)
        return 0;
    FUZZ_CHECK(EncodeIndex(key, *entries) == bytes);
    const auto table = SampleTable::build(*entries, SampleNumbering::ByPresentation);
    if (!table)
        return 0;
    for (int frame = table->first(); frame <= table->last(); ++frame) {
        const int start = table->decodeStart(frame);
        FUZZ_CHECK(start < table->packetCount());
        static_cast<void>(table->packetOfFrame(frame));
        static_cast<void>(table->presentationTime(frame));
    }
    return 0;
}
