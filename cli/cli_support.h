#pragma once

#include "cli/command_line.h"
#include "platform/printable_text.h" // Printable, for every message

#include <cstddef>
#include <string>
#include <string_view>

// Writes "clipmint-cli: MESSAGE" as one line on standard error; returns the exit status 1.
int Fail(const std::string& message);

// Throws UsageError with the command's usage unless the line has count arguments.
void ExpectArguments(const CommandLine& line, std::size_t count, const char* usage);

// From now on Ctrl-C asks the running loop to stop after the item in hand; a second one ends
// the program.
void CatchInterrupt();
bool Interrupted();
