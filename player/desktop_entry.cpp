// clipmint_desktop_entry TEMPLATE OUT: writes the desktop entry from its template, with the MIME
// types of the videos the program opens in place of "@VIDEO_MIME_TYPES@", so that a file manager
// offers the program for the same videos that its Open dialog lists.

#include "video/video_file_types.h"

#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: clipmint_desktop_entry TEMPLATE OUT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::stringstream text;
    text << in.rdbuf();
    std::string entry = text.str();

    std::string types;
    std::set<std::string_view> listed;
    for (const VideoFileType& type : videoFileTypes()) {
        if (!type.mimeType.empty() && listed.insert(type.mimeType).second)
            types += std::string(type.mimeType) + ";";
    }
    const std::string placeholder = "@VIDEO_MIME_TYPES@";
    const std::size_t at = entry.find(placeholder);
    if (!in || at == std::string::npos) {
        std::cerr << "clipmint_desktop_entry: " << argv[1] << " holds no " << placeholder << "\n";
        return 1;
    }
    entry.replace(at, placeholder.size(), types);
    std::ofstream out(argv[2], std::ios::binary);
    out << entry;
    out.close();
    if (!out) {
        std::cerr << "clipmint_desktop_entry: can't write " << argv[2] << "\n";
        return 1;
    }
    return 0;
}
