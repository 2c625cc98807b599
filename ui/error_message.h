#pragma once

#include "platform/error.h"

#include <QString>

// The error in the words of the windows, in the user's language: what failed, the file, and the
// system's or library's own reason.
QString ErrorMessage(const Error& error);

// Only the reason: why a video can't be opened or decoded, as the messages about it add it.
QString ErrorReason(const Error& error);
