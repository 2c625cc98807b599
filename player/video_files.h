#pragma once

#include <QString>

// The videos the player offers in its Open dialog and takes when one is dropped on it: the types
// of videoFileTypes(). (Open's "All Files" filter still opens anything FFmpeg reads.)

// "*.avi *.mp4 ...", for a file dialog's filter.
QString videoFilePatterns();
// Whether the name ends in one of those extensions, in any case.
bool hasVideoFileExtension(const QString& fileName);
