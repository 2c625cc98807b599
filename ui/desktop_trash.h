#pragma once

#include "batch/trash_can.h"

// The desktop's trash in the freedesktop.org layout, through Qt: the user's
// own trash, or the trash folder at the top of the file's disk.
class CDesktopTrash : public TrashCan
{
public:
    bool moveToTrash(const std::string& path, std::string& error) override;
};
