#include "cli/console_owner.h"

#include <cstdio>
#include <cstdlib>

ConsoleOwner::~ConsoleOwner()
{
    endProgressLine();
}

void ConsoleOwner::endProgressLine()
{
    if (m_lineShown)
        std::fputc('\n', stderr);
    m_lineShown = false;
}

void ConsoleOwner::setRange(int from, int to)
{
    m_from = from;
    m_to = to;
}

void ConsoleOwner::setFrameText(FrameTextControl control, const std::string& text)
{
    if (m_progress == Progress::Hidden || control != FrameTextControl::CurrentFrame)
        return;
    const long long span = static_cast<long long>(m_to) - m_from + 1;
    std::fprintf(stderr, "\rframe %s", text.c_str());
    if (span > 0) {
        const long long done = static_cast<long long>(std::atoll(text.c_str())) - m_from + 1;
        std::fprintf(stderr, "  (%lld of %lld)", done, span);
    }
    std::fputs("\033[K", stderr);
    std::fflush(stderr);
    m_lineShown = true;
}

void ConsoleOwner::setSliderPosition(int) {}

void ConsoleOwner::receiveSampleSize(std::uint32_t bytes)
{
    if (m_sizeReceiver)
        m_sizeReceiver(bytes);
}
