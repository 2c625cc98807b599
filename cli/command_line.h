#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

// A parsed command line: the command, its positional arguments and its "--name value" options.
struct CommandLine
{
    std::string command;
    std::vector<std::string> arguments;
    std::map<std::string, std::string> options; // flags without a value map to ""
    bool help = false;
    bool version = false;
};

class UsageError
{
public:
    explicit UsageError(std::string message) : m_message(std::move(message)) {}
    const std::string& message() const { return m_message; }

private:
    std::string m_message;
};

// flags names the options that take no value. Throws UsageError for an unknown option
// (one not in valueOptions or flags), a missing or empty value, or an empty argument.
CommandLine ParseCommandLine(const std::vector<std::string>& words,
                             const std::vector<std::string>& valueOptions,
                             const std::vector<std::string>& flags);

// The option's value as a whole number; nothing when absent. Throws UsageError when it is not
// a number in [low, high].
std::optional<int> IntegerOption(const CommandLine& line, const std::string& name, int low,
                                 int high);
// A positional argument as a whole number; throws UsageError when it is not one.
int IntegerArgument(const std::string& text, const std::string& what);
