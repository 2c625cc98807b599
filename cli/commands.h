#pragma once

#include "cli/command_line.h"

#include <string>

class CSettings;

// Each command returns the exit status: 0 done, 1 failed (one line on standard error said why).
// A wrong command line throws UsageError.
int RunInfo(const CommandLine& line, const CSettings& settings);
int RunFrame(const CommandLine& line, const CSettings& settings);
int RunRecord(const CommandLine& line, const CSettings& settings);
int RunSheet(const CommandLine& line, const CSettings& settings);
int RunSizes(const CommandLine& line);
int RunBitrate(const CommandLine& line);
int RunScale(const CommandLine& line);
int RunAverage(const CommandLine& line);
