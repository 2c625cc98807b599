#pragma once

#include "platform/error.h"

#include <string>

// The desktop's trash, where the batch tools put the source files the user no longer wants. A
// file in the trash can still be restored; nothing is ever deleted for good.
class TrashCan
{
public:
    virtual ~TrashCan() = default;

    // Moves the file at path into the trash. On failure the file stays where it is, and the
    // error says why.
    virtual Outcome moveToTrash(const std::string& path) = 0;
};
