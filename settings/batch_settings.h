#pragma once

#include "image/image_format.h"

#include <string>

class CIniFile;

// The fields of the Scale tool's dialog as section "ScaleImage" keeps them, with their defaults.
// The type and size fields are indices into the dialog's lists.
struct ScaleToolSettings
{
    std::string sourceFolder;
    std::string targetFolder;
    int jpegQuality = kDefaultBatchJpegQuality;
    int sourceType = 1; // *.bmp
    int targetType = 1; // *.bmp
    int size = 0;       // x1.5
    int deleteSources = 1;
};

// The fields of the Average tool's dialog as section "MergeImage" keeps them.
struct AverageToolSettings
{
    std::string sourceFolder;
    std::string targetFile; // the full path, under the key "TgtDir"
    int jpegQuality = kDefaultBatchJpegQuality;
    int sourceType = 1; // *.bmp
    int resize800 = 1;
    int resize1024 = 1;
    int deleteSources = 1;
    int autoNumber = 1;
};

// The defaults, then every key of the section: a string key as stored (missing: empty), an
// integer key only when it is stored as 0 or more.
ScaleToolSettings LoadScaleToolSettings(const CIniFile& file);
AverageToolSettings LoadAverageToolSettings(const CIniFile& file);

// Writes every key of the section, an empty folder as an empty value. False when a key could
// not be written; the file's writeError says why.
bool SaveScaleToolSettings(const ScaleToolSettings& settings, CIniFile& file);
bool SaveAverageToolSettings(const AverageToolSettings& settings, CIniFile& file);
