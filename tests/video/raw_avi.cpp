#include "raw_avi.h"

#include "image/dib.h"
#include "support/temp_dir.h"

namespace {

class RiffWriter
{
public:
    void u16(std::uint32_t value)
    {
        m_bytes.push_back(static_cast<std::uint8_t>(value));
        m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void u32s(std::initializer_list<std::uint32_t> values)
    {
        for (std::uint32_t value : values) {
            u16(value & 0xFFFF);
            u16(value >> 16);
        }
    }
    void tag(const char* name) { m_bytes.insert(m_bytes.end(), name, name + 4); }
    void bytes(const std::vector<std::uint8_t>& data)
    {
        m_bytes.insert(m_bytes.end(), data.begin(), data.end());
    }
    std::size_t size() const { return m_bytes.size(); }

    // Starts a chunk (with its list type, if any); end() fills in its size and pads it.
    std::size_t begin(const char* name, const char* listType = nullptr)
    {
        tag(name);
        u32s({0});
        const std::size_t body = m_bytes.size();
        if (listType)
            tag(listType);
        return body;
    }
    void end(std::size_t body)
    {
        const auto length = static_cast<std::uint32_t>(m_bytes.size() - body);
        for (int i = 0; i < 4; ++i)
            m_bytes[body - 4 + i] = static_cast<std::uint8_t>(length >> (8 * i));
        if (length % 2)
            m_bytes.push_back(0);
    }
    std::vector<std::uint8_t> take() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};

void writeHeaders(RiffWriter& out, const RawAvi& avi)
{
    const auto frameBytes = static_cast<std::uint32_t>(DibStride(avi.width, 24) * avi.height);
    const auto count = static_cast<std::uint32_t>(avi.frames.size());
    const auto width = static_cast<std::uint32_t>(avi.width);
    const auto height = static_cast<std::uint32_t>(avi.height);
    const std::size_t headers = out.begin("LIST", "hdrl");
    const std::size_t main = out.begin("avih");
    out.u32s({std::uint32_t(1000000ull * avi.scale / avi.rate), 0, 0, avi.withIndex ? 0x10u : 0,
              count, 0, 1, frameBytes, width, height, 0, 0, 0, 0});
    out.end(main);
    const std::size_t streamList = out.begin("LIST", "strl");
    const std::size_t streamHeader = out.begin("strh");
    out.tag("vids");
    out.tag("DIB ");
    out.u32s({0, 0, 0, avi.scale, avi.rate, avi.start, count, frameBytes, 0xFFFFFFFF, 0});
    out.u32s({0, width | height << 16});
    out.end(streamHeader);
    const std::size_t format = out.begin("strf");
    out.u32s({40, width, height, 1 | 24 << 16, avi.compression, frameBytes, 0, 0, 0, 0});
    out.end(format);
    out.end(streamList);
    out.end(headers);
}

} // namespace

RawAvi makeRawAvi(int width, int height, int frames)
{
    RawAvi avi;
    avi.width = width;
    avi.height = height;
    const auto stride = static_cast<std::size_t>(DibStride(width, 24));
    for (int frame = 0; frame < frames; ++frame) {
        std::vector<std::uint8_t> pixels(stride * height, 0);
        for (int row = 0; row < height; ++row) {
            for (int i = 0; i < width * 3; ++i)
                pixels[row * stride + i] = static_cast<std::uint8_t>(frame * 37 + row * 11 + i);
        }
        avi.frames.push_back(std::move(pixels));
    }
    return avi;
}

std::vector<std::uint8_t> rawAviBytes(const RawAvi& avi)
{
    RiffWriter out;
    const std::size_t riff = out.begin("RIFF", "AVI ");
    writeHeaders(out, avi);

    std::vector<std::uint32_t> offsets;
    const std::size_t movi = out.begin("LIST", "movi");
    for (const auto& frame : avi.frames) {
        // Index offsets count from the "movi" list type.
        offsets.push_back(static_cast<std::uint32_t>(out.size() - movi));
        const std::size_t chunk = out.begin("00db");
        out.bytes(frame);
        out.end(chunk);
    }
    out.end(movi);

    if (avi.withIndex) {
        const std::size_t index = out.begin("idx1");
        for (std::size_t i = 0; i < avi.frames.size(); ++i) {
            const auto size = static_cast<std::uint32_t>(avi.frames[i].size());
            out.tag("00db");
            out.u32s({size > 0 ? 0x10u : 0, offsets[i], size}); // key frames, unless dropped
        }
        out.end(index);
    }
    if (avi.padTo > out.size() + 8) {
        const std::size_t junk = out.begin("JUNK");
        out.bytes(std::vector<std::uint8_t>(avi.padTo - out.size(), 0));
        out.end(junk);
    }
    out.end(riff);
    return out.take();
}

std::string writeRawAvi(const std::string& path, const RawAvi& avi)
{
    WriteBytes(path, rawAviBytes(avi));
    return path;
}
