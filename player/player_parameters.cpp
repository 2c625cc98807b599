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
    written = WriteIniInt(kSection, "CurrentFrame", parameters.currentFrame, file) && written;
    written = WriteIniInt(kSection, "BeginFrame", parameters.beginFrame, file) && written;
    written = WriteIniInt(kSection, "EndFrame", parameters.endFrame, file) && written;
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

StoredFrames LoadStoredFrames(const CIniFile& ini)
{
    const CIniReading file = ini.read();
    return {file.readNonNegativeInt(kSection, "CurrentFrame"),
            file.readNonNegativeInt(kSection, "BeginFrame"),
            file.readNonNegativeInt(kSection, "EndFrame")};
}
