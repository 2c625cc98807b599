#include "video/file_name_pattern.h"

#include "video/video_reader.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace {

std::string number(std::int64_t value, int width)
{
    char text[32];
    std::snprintf(text, sizeof text, "%0*lld", width, static_cast<long long>(value));
    return text;
}

// The video's file name without its folders and its last extension: "clip" of "/videos/clip.mp4";
// a name that is all extension (".mp4") stays whole.
std::string_view baseName(std::string_view path)
{
    if (const std::size_t slash = path.rfind('/'); slash != std::string_view::npos)
        path.remove_prefix(slash + 1);
    if (const std::size_t dot = path.rfind('.'); dot != std::string_view::npos && dot > 0)
        path = path.substr(0, dot);
    return path;
}

} // namespace

FileNamePattern::FileNamePattern()
    : m_text(kDefaultFileNamePattern), m_parts{Part{Field::Frame, {}, 6}}
{}

Result<FileNamePattern> FileNamePattern::Parse(std::string_view text)
{
    FileNamePattern pattern;
    pattern.m_text = std::string(text);
    pattern.m_parts.clear();
    const auto refuse = [&](Failure why, std::string detail = {}) {
        return Error{why, {}, 0, std::move(detail), {std::string(text)}};
    };
    if (text.empty())
        return refuse(Failure::NamePatternNoNumber);
    if (text.front() == '.')
        return refuse(Failure::NamePatternCharacter, ".");
    bool numbered = false;
    std::size_t at = 0;
    while (at < text.size()) {
        const char c = text[at];
        if (c == '/' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            return refuse(Failure::NamePatternCharacter, c == '/' ? "/" : "");
        if (c == '}')
            return refuse(Failure::NamePatternPlaceholder, "}");
        if (c != '{') {
            if (pattern.m_parts.empty() || pattern.m_parts.back().field != Field::Text)
                pattern.m_parts.push_back({Field::Text, {}, 0});
            pattern.m_parts.back().text += c;
            ++at;
            continue;
        }
        const std::size_t end = text.find('}', at);
        if (end == std::string_view::npos)
            return refuse(Failure::NamePatternPlaceholder, std::string(text.substr(at)));
        const std::string_view placeholder = text.substr(at + 1, end - at - 1);
        const std::string_view word = placeholder.substr(0, placeholder.find(':'));
        Part part;
        if (word == "frame")
            part.field = Field::Frame;
        else if (word == "count")
            part.field = Field::Count;
        else if (word == "name")
            part.field = Field::Name;
        else if (word == "time")
            part.field = Field::Time;
        else
            return refuse(Failure::NamePatternPlaceholder, "{" + std::string(placeholder) + "}");
        if (word.size() < placeholder.size()) {
            const std::string_view width = placeholder.substr(word.size() + 1);
            const bool counted = part.field == Field::Frame || part.field == Field::Count;
            const auto [stop, error] =
                std::from_chars(width.data(), width.data() + width.size(), part.width);
            if (!counted || width.empty() || error != std::errc() ||
                stop != width.data() + width.size() || part.width < 1 || part.width > 10)
                return refuse(Failure::NamePatternPlaceholder,
                              "{" + std::string(placeholder) + "}");
        }
        numbered = numbered || part.field == Field::Frame || part.field == Field::Count;
        pattern.m_parts.push_back(std::move(part));
        at = end + 1;
    }
    if (!numbered)
        return refuse(Failure::NamePatternNoNumber);
    return pattern;
}

std::string FileNamePattern::nameOf(const NamedFrame& frame) const
{
    std::string name;
    for (const Part& part : m_parts) {
        switch (part.field) {
        case Field::Text:
            name += part.text;
            break;
        case Field::Frame:
            name += number(frame.frame, part.width);
            break;
        case Field::Count:
            name += number(frame.count, part.width);
            break;
        case Field::Name:
            // A video's name may hold what a pattern may not: its control characters become
            // "_".
            for (const char c : baseName(frame.video))
                name += static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? '_' : c;
            break;
        case Field::Time: {
            std::string time = FrameTimeText(frame.milliseconds);
            std::replace(time.begin(), time.end(), ':', '-');
            name += time;
            break;
        }
        }
    }
    return name;
}
