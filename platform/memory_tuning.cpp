#include "platform/memory_tuning.h"

#include <malloc.h>

void KeepFreedImageMemory()
{
    constexpr int kMiB = 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, 64 * kMiB);
    mallopt(M_TRIM_THRESHOLD, 128 * kMiB);
}
