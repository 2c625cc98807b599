#include "image/image_provenance.h"

#include "platform/printable_text.h"

namespace {

std::string_view baseName(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Cuts UTF-8 text to at most size bytes, before a character rather than inside one.
std::string cutAtCharacter(std::string text, std::size_t size)
{
    if (text.size() <= size)
        return text;
    std::size_t end = size;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80)
        --end;
    text.resize(end);
    return text;
}

} // namespace

std::vector<ProvenanceField> ProvenanceFields(const ImageProvenance& provenance)
{
    return {
        {"Source",
         cutAtCharacter(Printable(baseName(provenance.source)), kMaxProvenanceSourceBytes)},
        {"Frame", std::to_string(provenance.frame)},
        {"Time", Printable(provenance.time)},
    };
}

std::string ProvenanceComment(const ImageProvenance& provenance)
{
    std::string comment;
    for (const ProvenanceField& field : ProvenanceFields(provenance)) {
        if (!comment.empty())
            comment += '\n';
        comment.append(field.keyword).append(": ").append(field.text);
    }
    return comment;
}
