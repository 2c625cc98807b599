#include "platform/available_memory.h"

#include "platform/stdio_file.h"

#include <cstdio>

#include <unistd.h>

namespace {

// The "MemAvailable:" line of /proc/meminfo, in bytes; 0 when there is none.
std::size_t reportedAvailable()
{
    StdioFile file = OpenStdioFile("/proc/meminfo", "r");
    if (!file)
        return 0;
    char line[256];
    while (std::fgets(line, sizeof line, file.get())) {
        unsigned long long kibibytes = 0;
        if (std::sscanf(line, "MemAvailable: %llu kB", &kibibytes) == 1)
            return static_cast<std::size_t>(kibibytes) * 1024;
    }
    return 0;
}

} // namespace

std::size_t AvailableMemoryBytes()
{
    if (const std::size_t available = reportedAvailable())
        return available;
    const long pages = sysconf(_SC_AVPHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return 0;
    return static_cast<std::size_t>(pages) * static_cast<std::size_t>(pageSize);
}
