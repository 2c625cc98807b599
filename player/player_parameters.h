#pragma once

#include <optional>
#include <string>

class CIniFile;

// The control panel's parameters as its Save and Load buttons keep them, in section "AVI" of
// the settings file: the target folder, the open video, its current frame and the marks.
struct PlayerParameters
{
    std::string targetDir;
    std::string aviPath; // empty when no video is open
    int currentFrame = 0;
    int beginFrame = 0;
    int endFrame = 0;
};

// The frame numbers as stored; a missing or negative value means "keep what is shown".
struct StoredFrames
{
    std::optional<int> currentFrame;
    std::optional<int> beginFrame;
    std::optional<int> endFrame;
};

// Writes every key, in the order TargetDir, AviPath, CurrentFrame, BeginFrame, EndFrame.
// False when a key could not be written.
bool SavePlayerParameters(CIniFile& file, const PlayerParameters& parameters);

std::string LoadTargetDir(const CIniFile& file);
std::string LoadAviPath(const CIniFile& file);
StoredFrames LoadStoredFrames(const CIniFile& file);
