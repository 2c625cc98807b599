#include "video/video_file_types.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

// The words of one set(NAME ...) list of the desktop's list of video types, comments left out.
std::set<std::string> cmakeList(const std::string& text, const std::string& name)
{
    const std::size_t start = text.find("set(" + name);
    const std::size_t end = text.find(')', start);
    std::istringstream list(text.substr(start + name.size() + 4, end - start - name.size() - 4));
    std::set<std::string> words;
    std::string line;
    while (std::getline(list, line)) {
        std::istringstream wordsOfLine(line.substr(0, line.find('#')));
        for (std::string word; wordsOfLine >> word;)
            words.insert(word);
    }
    return words;
}

} // namespace

// The Open dialog and the desktop entry offer the program for the same videos.
TEST(VideoFileTypes, AreTheOnesTheDesktopOffersTheProgramFor)
{
    std::ifstream file(CLIPMINT_SOURCE_DIR "/res/video_types.cmake");
    std::stringstream text;
    text << file.rdbuf();
    const std::set<std::string> extensions = cmakeList(text.str(), "CLIPMINT_VIDEO_EXTENSIONS");
    const std::set<std::string> mimeTypes = cmakeList(text.str(), "CLIPMINT_VIDEO_MIME_TYPES");
    std::set<std::string> ours;
    for (const VideoFileType& type : videoFileTypes()) {
        ours.insert(std::string(type.extension));
        if (!type.mimeType.empty()) {
            EXPECT_TRUE(mimeTypes.contains(std::string(type.mimeType))) << type.mimeType;
        }
        EXPECT_TRUE(HasVideoFileExtension("clip." + std::string(type.extension)));
    }
    EXPECT_EQ(ours, extensions);
    EXPECT_TRUE(HasVideoFileExtension("CLIP.M2TS"));
    EXPECT_FALSE(HasVideoFileExtension("notes.txt"));
}
