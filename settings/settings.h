#pragma once

#include "settings/ini_file.h"
#include "video/picture_options.h"
#include "video/recorder.h"

#include <array>
#include <filesystem>
#include <string>

// Indices of the option table. The first four names are also their keys in section "Option";
// the picture options after them are stored as "ColorMatrix", "ToneMap", "KeepRotation",
// "Deinterlace" and "DisplayAspect", the choice of recorded frames as "FrameChoice",
// "EveryMilliseconds" and "SceneThreshold", the provenance of saved frames as "Provenance" and
// the recording's manifest as "Manifest". The names of recorded files are the string "FileNames".
enum OptionIndex
{
    OPTION_EVERY_FRAME = 0,    // recording saves every (value + 1)-th frame
    OPTION_JPEG = 1,           // format of exported frames: 0 BMP, 1 JPEG, 2 PNG; others mean BMP
    OPTION_JPEG_QUALITY = 2,   // quality handed to the writer of exported frames
    OPTION_SPEED = 3,          // playback delay in ms per frame; stored and edited, never applied
    OPTION_COLOR_MATRIX = 4,   // 0 the file's (or the size's), 1 BT.601, 2 BT.709; others mean 0
    OPTION_TONE_MAP = 5,       // 1 (default): HDR pictures are tone-mapped to SDR
    OPTION_KEEP_ROTATION = 6,  // 1: the stored orientation, not the display matrix's
    OPTION_DEINTERLACE = 7,    // 1 (default): interlaced streams are deinterlaced
    OPTION_DISPLAY_ASPECT = 8, // 1: non-square pixels are shown and saved at the display aspect
    OPTION_FRAME_CHOICE = 9,   // 0 every N frames, 1 every few seconds, 2 key frames, 3 scenes
    OPTION_EVERY_MILLISECONDS = 10, // the interval of choice 1
    OPTION_SCENE_THRESHOLD = 11,    // the scene-change threshold of choice 3, 1 to 255
    OPTION_PROVENANCE = 12,         // 1: JPEG and PNG files name the video, frame and time
    OPTION_MANIFEST = 13,           // 1: a recording lists its files in frames.csv
};

inline constexpr int kOptionCount = 14;

// The program's persistent settings: the settings file, the option table and the external
// viewer's path. Created once at start-up and handed to whatever needs it; everything except
// the option table and the viewer path is read and written directly in the file by its owner,
// through iniFile().
class CSettings
{
public:
    explicit CSettings(std::filesystem::path iniPath);

    // Where the settings live for the executable at executablePath: beside it, with ".ini" in
    // place of the file name's extension (build/bin/clipmint uses build/bin/clipmint.ini).
    // For a program in installedFolder (where the build installs the programs; empty for
    // none), or one whose folder cannot be written to and holds no such file, the file is
    // "Clipmint/Clipmint.ini" in the user's configuration folder ($XDG_CONFIG_HOME, else
    // $HOME/.config, else the account's home's .config); the "Clipmint" folder is created
    // here, so that the first write can make the file. With no home at all the path stays
    // beside the executable.
    static std::filesystem::path BuildIniPath(const std::filesystem::path& executablePath,
                                              const std::filesystem::path& installedFolder = {});

    CIniFile& iniFile() { return m_iniFile; }
    const CIniFile& iniFile() const { return m_iniFile; }

    // Reads the option table from section "Option". Missing or negative values become their
    // defaults (0, but 1 for ToneMap and Deinterlace), and a quality below 10 becomes
    // kDefaultJpegQuality.
    void LoadOptions();
    // Writes the whole option table to section "Option". False when any key was not written.
    bool SaveOptions();

    // index is an OptionIndex; any other throws std::out_of_range.
    int GetOption(int index) const { return m_options.at(index); }
    void SetOption(int index, int value) { m_options.at(index) = value; }

    // The pattern of recorded files' names, read and written with the option table; one that
    // can't name files, read from the file, counts as the default.
    const FileNamePattern& fileNames() const { return m_fileNames; }
    void setFileNames(FileNamePattern names) { m_fileNames = std::move(names); }

    // Reads the viewer path from key "ViewerPath" of section "Viewer"; empty when missing.
    void LoadViewerPath();
    // The external image viewer's full path, empty when images open with the desktop's default.
    const std::string& viewerPath() const { return m_viewerPath; }
    void setViewerPath(std::string path) { m_viewerPath = std::move(path); }
    bool saveViewerPath();

private:
    CIniFile m_iniFile;
    std::array<int, kOptionCount> m_options;
    FileNamePattern m_fileNames;
    std::string m_viewerPath;
};

// The picture options of the option table, for the frame source.
PictureOptions PictureOptionsOf(const CSettings& settings);
// How the option table says recordings and saved frames are written: the frames chosen, their
// names, the format, the JPEG quality, whether the files carry their provenance and whether a
// manifest lists them.
RecordingFormat RecordingFormatOf(const CSettings& settings);
