#pragma once

#include "platform/error.h"

#include <QString>

class CIniFile;

// The error in the words of the windows, in the user's language: what failed, the file, and the
// system's or library's own reason.
QString ErrorMessage(const Error& error);

// Only the reason: why a video can't be opened or decoded, as the messages about it add it.
QString ErrorReason(const Error& error);

// Why the settings file could not be written: "the settings file PATH can't be written: REASON".
QString SettingsWriteMessage(const Error& error);
// The same of the last write of file that failed; empty when none did.
QString SettingsWriteMessage(const CIniFile& file);
