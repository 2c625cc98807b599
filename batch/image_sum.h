#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class CDibImage;

// What became of an image given to CImageSum::add.
enum class SumAdded
{
    Yes,
    OverBudget, // the sums of an image of its size would take more than the budget
    No,         // not 24-bit, the sums could not be allocated, or another image could overflow them
};

// The running per-channel sums of the images an Average run has read, and their mean. The first
// image sets the size; later ones are laid over it at their top-left corners, so a larger image
// adds only the part inside that size and a smaller one leaves the rest of the sums as they are.
// 32-bit sums hold more than sixteen million images of any content.
class CImageSum
{
public:
    // The sums may take at most budgetBytes, four bytes for every byte of a picture.
    explicit CImageSum(std::size_t budgetBytes = DefaultBudgetBytes()) : m_budget(budgetBytes) {}

    // The smaller of the largest picture the program reads and a quarter of the memory the
    // machine can spare, so that a small file claiming a huge picture can't exhaust it.
    static std::size_t DefaultBudgetBytes();
    std::size_t budgetBytes() const { return m_budget; }

    // Adds a 24-bit image; nothing is added unless the answer is Yes.
    SumAdded add(const CDibImage& image);

    bool empty() const { return m_count == 0; }

    // The mean image: each byte is the channel's sum divided by the number of images added,
    // rounded half up. False when nothing was added or the image can't be created.
    bool average(CDibImage& result) const;

private:
    std::size_t m_budget;
    std::vector<std::uint32_t> m_sums; // blue, green, red per pixel, from the top row down
    int m_width = 0;
    int m_height = 0;
    std::uint32_t m_count = 0;
};
