#pragma once

#include "batch/trash_can.h"

// The desktop's trash in the freedesktop.org layout: the user's own trash, or the trash folder at
// the top of the file's disk. Names are taken as the file system's bytes, so that a file whose
// name is not UTF-8 goes to the trash under its own name too (Qt's trash can't name it).
class CDesktopTrash : public TrashCan
{
public:
    Outcome moveToTrash(const std::string& path) override;
};
