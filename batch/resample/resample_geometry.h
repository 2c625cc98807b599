#pragma once

// Where each destination column (or row) samples the source, and with which taps and weights.
// The mapping aligns corner pixels: the first and last destination pixels fall exactly on the
// first and last source pixels. span is the length in destination pixels that the whole source
// covers; the destination itself may be shorter or longer (positions past the source's last
// pixel are held there). Every table is computed once per column or row, never per pixel.

#include <cstdint>
#include <vector>

// Four-tap cubic: taps first .. first + 3, and the weights of taps 1 to 3 in the form
// value = f0 + c1 (f1 - f0) + c2 (f2 - f0) + c3 (f3 - f0), which keeps flat areas exact.
struct CubicTaps
{
    std::vector<int> first;
    std::vector<float> c1;
    std::vector<float> c2;
    std::vector<float> c3;
};

// Two-tap linear in fixed point: taps first and first + 1, the second weighted by weight/16384.
struct LinearTaps
{
    std::vector<int> first;
    std::vector<int> weight;
};

constexpr int kLinearOne = 16384;

// Needs a source of at least 4 pixels.
CubicTaps MakeCubicTaps(int sourceLength, std::int64_t span, int length);
// Needs a source of at least 2 pixels.
LinearTaps MakeLinearTaps(int sourceLength, std::int64_t span, int length);
std::vector<int> MakeNearestTaps(int sourceLength, std::int64_t span, int length);
