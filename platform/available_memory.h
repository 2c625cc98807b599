#pragma once

#include <cstddef>

// The memory the system could still give this program without swapping, in bytes: what it
// reports as available, or the free memory where it reports nothing more.
std::size_t AvailableMemoryBytes();
