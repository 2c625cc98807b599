#include "batch/image_sum.h"

#include "image/dib_image.h"
#include "platform/available_memory.h"

#include <algorithm>
#include <limits>
#include <new>

namespace {

constexpr std::uint32_t kMostImages = std::numeric_limits<std::uint32_t>::max() / 255;

void addRow(const std::uint8_t* __restrict bytes, std::uint32_t* __restrict sums, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        sums[i] += bytes[i];
}

} // namespace

std::size_t CImageSum::DefaultBudgetBytes()
{
    return std::min(kMaxDibBytes, AvailableMemoryBytes() / 4);
}

SumAdded CImageSum::add(const CDibImage& image)
{
    if (image.IsEmpty() || image.BitCount() != 24 || m_count == kMostImages)
        return SumAdded::No;
    if (m_count == 0) {
        const std::uint64_t sums = std::uint64_t(image.Width()) * std::uint64_t(image.Height()) * 3;
        if (sums > m_budget / sizeof(std::uint32_t))
            return SumAdded::OverBudget;
        try {
            m_sums.assign(size_t(sums), 0);
        } catch (const std::bad_alloc&) {
            return SumAdded::No;
        }
        m_width = image.Width();
        m_height = image.Height();
    }
    const int rows = std::min(image.Height(), m_height);
    const size_t bytes = size_t(std::min(image.Width(), m_width)) * 3;
    for (int row = 0; row < rows; ++row)
        addRow(image.PictureRow(row), m_sums.data() + size_t(row) * size_t(m_width) * 3, bytes);
    ++m_count;
    return SumAdded::Yes;
}

bool CImageSum::average(CDibImage& result) const
{
    if (m_count == 0 || !result.Create(m_width, m_height, 24))
        return false;
    const double scale = 1.0 / m_count;
    const size_t bytes = size_t(m_width) * 3;
    for (int row = 0; row < m_height; ++row) {
        const std::uint32_t* sums = m_sums.data() + size_t(row) * bytes;
        std::uint8_t* out = result.PictureRow(row);
        for (size_t i = 0; i < bytes; ++i)
            out[i] = static_cast<std::uint8_t>(sums[i] * scale + 0.5);
    }
    return true;
}
