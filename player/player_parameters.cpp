#include "player/player_parameters.h"

#include "settings/ini_file.h"

namespace {

constexpr char kSection[] = "AVI";

} // namespace

bool SavePlayerParameters(CIniFile& file, const PlayerParameters& parameters)
{
    // Every key is tried, so that one failure does not leave the others at old values.
    bool written = file.writeString(kSection, "TargetDir", parameters.targetDir);
    written = file.writeString(kSection, "AviPath", parameters.aviPath) && written;
    written = file.WriteIniInt(kSection, "CurrentFrame", parameters.currentFrame) && written;
    written = file.WriteIniInt(kSection, "BeginFrame", parameters.beginFrame) && written;
    written = file.WriteIniInt(kSection, "EndFrame", parameters.endFrame) && written;
    return written;
}

std::string LoadTargetDir(const CIniFile& file)
{
    return file.readString(kSection, "TargetDir", "");
}

std::string LoadAviPath(const CIniFile& file)
{
    return file.readString(kSection, "AviPath", "");
}

StoredFrames LoadStoredFrames(const CIniFile& file)
{
    return {file.readNonNegativeInt(kSection, "CurrentFrame"),
            file.readNonNegativeInt(kSection, "BeginFrame"),
            file.readNonNegativeInt(kSection, "EndFrame")};
}
