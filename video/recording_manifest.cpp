#include "video/recording_manifest.h"

#include "platform/file_replacement.h"
#include "video/frame_export.h"
#include "video/video_reader.h"

#include <cerrno>
#include <cstdio>

namespace {

std::string csvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace

std::string ManifestText(const std::vector<ManifestRow>& rows)
{
    std::string text = "file,frame,time,key,type,bytes\n";
    for (const ManifestRow& row : rows) {
        text += csvField(row.file);
        text += ',' + std::to_string(row.frame) + ',' + SecondsText(row.time) + ',';
        text += row.key ? "1," : "0,";
        if (row.type != PictureType::Unknown)
            text += PictureTypeLetter(row.type);
        text += ',';
        if (row.bytes)
            text += std::to_string(*row.bytes);
        text += '\n';
    }
    return text;
}

Outcome WriteManifest(std::string_view folder, const std::vector<ManifestRow>& rows)
{
    const std::string path = FileInFolder(folder, kManifestFileName, "");
    CFileReplacement file(path);
    std::FILE* stream = file.open();
    if (stream == nullptr)
        return Error{Failure::WriteFile, path, errno};
    const std::string text = ManifestText(rows);
    if (std::fwrite(text.data(), 1, text.size(), stream) != text.size())
        return Error{Failure::WriteFile, path, errno};
    if (const int error = file.commit(); error != 0)
        return Error{Failure::WriteFile, path, error};
    return Done{};
}
