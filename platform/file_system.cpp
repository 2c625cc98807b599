#include "platform/file_system.h"

#include <filesystem>
#include <system_error>

std::string MakeSureDirectoryPathExists(const std::string& folder)
{
    if (folder.empty())
        return "no folder was named";
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    // The overloads with an error code: a name too long for the system must not throw.
    std::error_code notThere;
    if (std::filesystem::is_directory(folder, notThere))
        return {};
    if (!error)
        error = notThere;
    if (!error)
        error = std::make_error_code(std::errc::not_a_directory);
    return error.message();
}
