#include "cli/command_line.h"

#include <algorithm>
#include <charconv>

namespace {

bool contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

std::optional<long long> parseInteger(const std::string& text)
{
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& words,
                             const std::vector<std::string>& valueOptions,
                             const std::vector<std::string>& flags)
{
    CommandLine line;
    bool onlyArguments = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (onlyArguments || word.size() < 2 || word[0] != '-' || parseInteger(word)) {
            // An unset variable in a script gives an empty name, which must not come to mean
            // the current folder, nor the root that a folder name is joined to.
            if (word.empty())
                throw UsageError("an empty argument names no file or folder");
            if (line.command.empty())
                line.command = word;
            else
                line.arguments.push_back(word);
            continue;
        }
        if (word == "--") {
            onlyArguments = true;
        } else if (word == "--help" || word == "-h") {
            line.help = true;
        } else if (word == "--version") {
            line.version = true;
        } else if (contains(flags, word)) {
            line.options[word] = "";
        } else if (contains(valueOptions, word)) {
            if (i + 1 >= words.size() || words[i + 1].empty())
                throw UsageError(word + " needs a value");
            line.options[word] = words[++i];
        } else {
            throw UsageError("unknown option " + word +
                             " (a name that starts with \"-\" goes after \"--\")");
        }
    }
    return line;
}

std::optional<int> IntegerOption(const CommandLine& line, const std::string& name, int low,
                                 int high)
{
    const auto found = line.options.find(name);
    if (found == line.options.end())
        return std::nullopt;
    const std::optional<long long> value = parseInteger(found->second);
    if (!value || *value < low || *value > high)
        throw UsageError(name + " takes a whole number from " + std::to_string(low) + " to " +
                         std::to_string(high));
    return static_cast<int>(*value);
}

int IntegerArgument(const std::string& text, const std::string& what)
{
    const std::optional<long long> value = parseInteger(text);
    if (!value || *value < -2147483648LL || *value > 2147483647LL)
        throw UsageError(what + " must be a whole number, not \"" + text + "\"");
    return static_cast<int>(*value);
}
