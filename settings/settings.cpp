#include "settings/settings.h"

#include "image/image_format.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string_view>

#include <pwd.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kOptionSection = "Option";
struct OptionEntry
{
    std::string_view key;
    int fallback; // for a missing or negative value
};
constexpr std::array<OptionEntry, kOptionCount> kOptions = {{
    {"OPTION_EVERY_FRAME", 0},
    {"OPTION_JPEG", 0},
    {"OPTION_JPEG_QUALITY", kDefaultJpegQuality},
    {"OPTION_SPEED", 0},
    {"ColorMatrix", 0},
    {"ToneMap", 1},
    {"KeepRotation", 0},
    {"Deinterlace", 1},
    {"DisplayAspect", 0},
    {"FrameChoice", 0},
    {"EveryMilliseconds", 1000},
    {"SceneThreshold", kDefaultSceneThreshold},
    {"Provenance", 0},
    {"Manifest", 0},
}};
constexpr std::string_view kFileNamesKey = "FileNames";
constexpr std::string_view kViewerSection = "Viewer";
constexpr std::string_view kViewerPathKey = "ViewerPath";

bool canCreateFilesIn(const fs::path& folder)
{
    return access(folder.empty() ? "." : folder.c_str(), W_OK | X_OK) == 0;
}

std::optional<fs::path> userConfigFolder()
{
    // A relative $XDG_CONFIG_HOME is invalid and is to be ignored.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && fs::path(config).is_absolute())
        return fs::path(config);
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0')
        return fs::path(home) / ".config";
    // Without $HOME (a service, a stripped environment) the account's own home still holds it.
    const passwd* account = getpwuid(getuid());
    if (account != nullptr && account->pw_dir != nullptr && *account->pw_dir != '\0')
        return fs::path(account->pw_dir) / ".config";
    return std::nullopt;
}

bool isSameFolder(const fs::path& path, const fs::path& folder)
{
    std::error_code error;
    return !folder.empty() && fs::equivalent(path, folder, error);
}

} // namespace

CSettings::CSettings(std::filesystem::path iniPath) : m_iniFile(std::move(iniPath))
{
    for (int index = 0; index < kOptionCount; ++index)
        m_options[index] = kOptions[index].fallback;
}

fs::path CSettings::BuildIniPath(const fs::path& executablePath, const fs::path& installedFolder)
{
    fs::path beside = executablePath;
    beside.replace_extension(".ini");
    // An installed program's folder belongs to the system, not to whoever runs it, and root
    // could write there.
    const bool installed = isSameFolder(beside.parent_path(), installedFolder);
    std::error_code error;
    if (!installed && (fs::exists(beside, error) || canCreateFilesIn(beside.parent_path())))
        return beside;
    const std::optional<fs::path> config = userConfigFolder();
    if (!config)
        return beside;
    const fs::path folder = *config / "Clipmint";
    fs::create_directories(folder, error);
    return folder / "Clipmint.ini";
}

void CSettings::LoadOptions()
{
    const CIniReading file = m_iniFile.read();
    for (int index = 0; index < kOptionCount; ++index) {
        const int value = file.readInt(kOptionSection, kOptions[index].key, -1);
        m_options[index] = value < 0 ? kOptions[index].fallback : value;
    }
    // The Option dialog accepts qualities from 1, but those below 10 only last for the run in
    // which they were set.
    if (m_options[OPTION_JPEG_QUALITY] < 10)
        m_options[OPTION_JPEG_QUALITY] = kDefaultJpegQuality;
    Result<FileNamePattern> names = FileNamePattern::Parse(
        file.readString(kOptionSection, kFileNamesKey, kDefaultFileNamePattern));
    m_fileNames = names ? std::move(*names) : FileNamePattern();
}

bool CSettings::SaveOptions()
{
    bool saved = true;
    for (int index = 0; index < kOptionCount; ++index)
        saved =
            WriteIniInt(kOptionSection, kOptions[index].key, m_options[index], m_iniFile) && saved;
    return m_iniFile.writeString(kOptionSection, kFileNamesKey, m_fileNames.text()) && saved;
}

void CSettings::LoadViewerPath()
{
    m_viewerPath = m_iniFile.readString(kViewerSection, kViewerPathKey, "");
}

bool CSettings::saveViewerPath()
{
    return m_iniFile.writeString(kViewerSection, kViewerPathKey, m_viewerPath);
}

RecordingFormat RecordingFormatOf(const CSettings& settings)
{
    RecordingFormat format;
    format.step = std::max(settings.GetOption(OPTION_EVERY_FRAME), 0) + std::int64_t(1);
    format.format = RecordedFormat(settings.GetOption(OPTION_JPEG));
    format.quality = settings.GetOption(OPTION_JPEG_QUALITY);
    switch (settings.GetOption(OPTION_FRAME_CHOICE)) {
    case 1:
        format.choice = FrameChoice::EverySeconds;
        break;
    case 2:
        format.choice = FrameChoice::KeyFrames;
        break;
    case 3:
        format.choice = FrameChoice::SceneChanges;
        break;
    default:
        format.choice = FrameChoice::EveryStep;
        break;
    }
    format.seconds = std::max(settings.GetOption(OPTION_EVERY_MILLISECONDS), 1) / 1000.0;
    format.sceneThreshold = std::clamp(settings.GetOption(OPTION_SCENE_THRESHOLD), 1, 255);
    format.provenance = settings.GetOption(OPTION_PROVENANCE) != 0;
    format.names = settings.fileNames();
    format.manifest = settings.GetOption(OPTION_MANIFEST) != 0;
    return format;
}

PictureOptions PictureOptionsOf(const CSettings& settings)
{
    PictureOptions options;
    switch (settings.GetOption(OPTION_COLOR_MATRIX)) {
    case 1:
        options.matrix = ColorMatrixChoice::Bt601;
        break;
    case 2:
        options.matrix = ColorMatrixChoice::Bt709;
        break;
    default:
        options.matrix = ColorMatrixChoice::Auto;
        break;
    }
    options.toneMap = settings.GetOption(OPTION_TONE_MAP) != 0;
    options.keepRotation = settings.GetOption(OPTION_KEEP_ROTATION) != 0;
    options.deinterlace = settings.GetOption(OPTION_DEINTERLACE) != 0;
    options.displayAspect = settings.GetOption(OPTION_DISPLAY_ASPECT) != 0;
    return options;
}
