#pragma once

#include "cli/command_line.h"

#include <cstddef>
#include <string>
#include <string_view>

// Writes "clipmint-cli: MESSAGE" as one line on standard error; returns the exit status 1.
int Fail(const std::string& message);

// text made fit for one line of a terminal: control characters and bytes that are not UTF-8
// are written as C escapes ("\n", "\t", "\xFF"), so that a file name holding a line break
// keeps its message on one line, and every name can be told apart.
std::string Printable(std::string_view text);

// Throws UsageError with the command's usage unless the line has count arguments.
void ExpectArguments(const CommandLine& line, std::size_t count, const char* usage);

// From now on Ctrl-C asks the running loop to stop after the item in hand; a second one ends
// the program.
void CatchInterrupt();
bool Interrupted();
