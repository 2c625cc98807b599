#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// The words bash offers for each command line, as a user gets them after pressing Tab at its
// end, in folder, sorted.
std::vector<std::string> completions(const TempDir& folder, const std::vector<std::string>& lines)
{
    std::string script = "cd '" + folder.path().string() +
                         "' || exit 1\n"
                         "source /usr/share/bash-completion/bash_completion\n"
                         "source '" CLIPMINT_BASH_COMPLETION "'\n"
                         "offer() {\n"
                         "    COMP_LINE=$1 COMP_POINT=${#1}\n"
                         "    read -ra COMP_WORDS <<<\"$1\"\n"
                         "    [[ $1 == *' ' ]] && COMP_WORDS+=('')\n"
                         "    COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) COMPREPLY=()\n"
                         "    _clipmint_cli\n"
                         "    printf '%s\\n' \"${COMPREPLY[*]}\"\n"
                         "}\n";
    for (const std::string& line : lines)
        script += "offer '" + line + "'\n";
    WriteText(folder.path() / "complete.sh", script);
    std::vector<std::string> offers;
    FILE* pipe = popen(("LC_ALL=C bash '" + folder.file("complete.sh") + "'").c_str(), "r");
    if (pipe == nullptr)
        return offers;
    std::array<char, 4096> buffer;
    std::string output;
    size_t got;
    while ((got = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        output.append(buffer.data(), got);
    pclose(pipe);
    std::istringstream outputLines(output);
    std::string offer;
    while (std::getline(outputLines, offer)) {
        std::istringstream words(offer);
        std::vector<std::string> sorted{std::istream_iterator<std::string>(words), {}};
        std::sort(sorted.begin(), sorted.end());
        std::string joined;
        for (const std::string& word : sorted)
            joined += (joined.empty() ? "" : " ") + word;
        offers.push_back(joined);
    }
    return offers;
}

} // namespace

TEST(BashCompletion, OffersCommandsOptionsValuesAndTheFilesEachArgumentTakes)
{
    TempDir folder;
    for (const char* name : {"clip.avi", "Film.MKV", "notes.txt", "still.png", "old.JPG"})
        WriteText(folder.path() / name, "");
    std::filesystem::create_directory(folder.path() / "frames");
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"clipmint-cli ", "average bitrate frame info record scale sheet sizes"},
        {"clipmint-cli --", "--help --version"},
        {"clipmint-cli info ", "Film.MKV clip.avi frames"},
        {"clipmint-cli info clip.avi -", "-- --help --keys --version"},
        {"clipmint-cli record clip.avi ", "frames"},
        {"clipmint-cli record clip.avi frames --format ", "bmp jpg png"},
        // In record --from takes a frame number, in scale an image type.
        {"clipmint-cli record clip.avi frames --from ", ""},
        {"clipmint-cli scale frames small --from ", "bmp jpg png"},
        {"clipmint-cli scale frames small --size ", "1024x768 640x480 800x600 x1.5 x2 x3"},
        {"clipmint-cli frame clip.avi -5 ", "frames old.JPG still.png"},
        {"clipmint-cli average frames ", "frames old.JPG still.png"},
        {"clipmint-cli bitrate clip.avi --png ", "frames still.png"},
        {"clipmint-cli bitrate clip.avi -", "-- --csv --frames --help --png --version"},
        {"clipmint-cli sizes -- ", "Film.MKV clip.avi frames"},
    };
    std::vector<std::string> lines;
    for (const auto& [line, offer] : cases)
        lines.push_back(line);
    const std::vector<std::string> offers = completions(folder, lines);
    ASSERT_EQ(offers.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(offers[i], cases[i].second) << cases[i].first;
}
