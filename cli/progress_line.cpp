#include "cli/progress_line.h"

#include <cstdio>

void ProgressLine::show(const std::string& frameText, int frame)
{
    if (m_visibility == Hidden)
        return;
    const long long span = static_cast<long long>(m_to) - m_from + 1;
    std::fprintf(stderr, "\rframe %s", frameText.c_str());
    if (span > 0)
        std::fprintf(stderr, "  (%lld of %lld)", static_cast<long long>(frame) - m_from + 1, span);
    std::fputs("\033[K", stderr);
    std::fflush(stderr);
    m_lineShown = true;
}

void ProgressLine::end()
{
    if (m_lineShown)
        std::fputc('\n', stderr);
    m_lineShown = false;
}
