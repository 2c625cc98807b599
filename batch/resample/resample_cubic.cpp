#include "batch/resample/resample_geometry.h"
#include "batch/resample/resample_kernels.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr int kTaps = 4;

// The vertical pass, which touches every target byte, is also compiled for AVX2 and picked at
// load time on processors that have it: twice as wide vectors nearly halve its time. Not under
// ThreadSanitizer, whose runtime is not ready yet when the loader picks a clone.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__)) &&                            \
    !defined(__SANITIZE_THREAD__)
#define CLIPMINT_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define CLIPMINT_VECTOR_CLONES
#endif

// Widens one source row to floats, so that the interpolation converts each byte once rather
// than once for every tap that reads it.
void widenRow(const std::uint8_t* __restrict source, float* __restrict out, std::size_t count)
{
    for (std::size_t k = 0; k < count; ++k)
        out[k] = source[k];
}

// Interpolates one widened source row across to the target width, unrounded.
void interpolateRow(const float* __restrict source, const CubicTaps& columns, float* __restrict out)
{
    const int* first = columns.first.data();
    const float* c1 = columns.c1.data();
    const float* c2 = columns.c2.data();
    const float* c3 = columns.c3.data();
    const std::size_t width = columns.first.size();
    for (std::size_t i = 0; i < width; ++i) {
        const float* p = source + kChannels * first[i];
        for (int c = 0; c < kChannels; ++c) {
            const float f0 = p[c];
            out[kChannels * i + c] = f0 + c1[i] * (p[kChannels + c] - f0) +
                                     c2[i] * (p[2 * kChannels + c] - f0) +
                                     c3[i] * (p[3 * kChannels + c] - f0);
        }
    }
}

struct RowWeights
{
    float c1;
    float c2;
    float c3;
};

// Combines four interpolated rows into target bytes: truncated after adding a hair, so that
// values that are whole numbers up to float noise stay whole, and clamped to 0 .. 255.
CLIPMINT_VECTOR_CLONES void blendRows(const std::array<const float*, kTaps>& rows, RowWeights w,
                                      std::uint8_t* __restrict out, std::size_t count)
{
    const float* __restrict r0 = rows[0];
    const float* __restrict r1 = rows[1];
    const float* __restrict r2 = rows[2];
    const float* __restrict r3 = rows[3];
    for (std::size_t k = 0; k < count; ++k) {
        const float f0 = r0[k];
        float v = f0 + w.c1 * (r1[k] - f0) + w.c2 * (r2[k] - f0) + w.c3 * (r3[k] - f0) + 0.00001f;
        v = std::min(std::max(v, 0.0f), 255.0f);
        out[k] = static_cast<std::uint8_t>(v);
    }
}

// Four interpolated source rows; source row r lives in slot r mod 4. The taps only move down
// as the target row advances, so a row that drops out is never needed again and each source
// row is interpolated once.
class RowCache
{
public:
    RowCache(const PixelPlane& source, const CubicTaps& columns)
        : m_source(source), m_columns(columns), m_length(kChannels * columns.first.size()),
          m_rows(kTaps * m_length), m_widened(std::size_t(kChannels) * std::size_t(source.width))
    {
        m_held.fill(-1);
    }

    const float* Row(int sourceRow)
    {
        const int slot = sourceRow % kTaps;
        float* row = m_rows.data() + slot * m_length;
        if (m_held[slot] != sourceRow) {
            widenRow(m_source.Row(sourceRow), m_widened.data(), m_widened.size());
            interpolateRow(m_widened.data(), m_columns, row);
            m_held[slot] = sourceRow;
        }
        return row;
    }

private:
    const PixelPlane& m_source;
    const CubicTaps& m_columns;
    std::size_t m_length;
    std::vector<float> m_rows;
    std::vector<float> m_widened;
    std::array<int, kTaps> m_held;
};

} // namespace

void ResampleCubic(const PixelPlane& source, const PixelPlane& target, std::int64_t spanX,
                   std::int64_t spanY)
{
    const CubicTaps columns = MakeCubicTaps(source.width, spanX, target.width);
    const CubicTaps rows = MakeCubicTaps(source.height, spanY, target.height);
    RowCache cache(source, columns);
    const std::size_t count = std::size_t(kChannels) * std::size_t(target.width);
    for (int y = 0; y < target.height; ++y) {
        std::array<const float*, kTaps> taps;
        for (int k = 0; k < kTaps; ++k)
            taps[k] = cache.Row(rows.first[y] + k);
        blendRows(taps, {rows.c1[y], rows.c2[y], rows.c3[y]}, target.Row(y), count);
    }
}
