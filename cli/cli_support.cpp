#include "cli/cli_support.h"

#include <csignal>
#include <cstdio>

namespace {

volatile std::sig_atomic_t g_interrupted = 0;

void onInterrupt(int)
{
    g_interrupted = 1;
}

} // namespace

int Fail(const std::string& message)
{
    std::fprintf(stderr, "clipmint-cli: %s\n", Printable(message).c_str());
    return 1;
}

void ExpectArguments(const CommandLine& line, std::size_t count, const char* usage)
{
    if (line.arguments.size() != count)
        throw UsageError(std::string("usage: clipmint-cli ") + usage);
}

void CatchInterrupt()
{
    struct sigaction action
    {
    };
    action.sa_handler = onInterrupt;
    action.sa_flags = SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
}

bool Interrupted()
{
    return g_interrupted != 0;
}
