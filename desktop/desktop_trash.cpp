#include "desktop/desktop_trash.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <optional>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The user's own trash: "$XDG_DATA_HOME/Trash", or "$HOME/.local/share/Trash" where that
// variable is unset or, being relative, invalid.
std::optional<std::string> homeTrash()
{
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/')
        return std::string(data) + "/Trash";
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0')
        return std::string(home) + "/.local/share/Trash";
    return std::nullopt;
}

// A trash with its "files" and "info" folders, made where missing; only its owner may look in.
bool makeTrash(const std::string& trash, Error& error)
{
    std::error_code made;
    std::filesystem::create_directories(std::filesystem::path(trash).parent_path(), made);
    for (const std::string& folder : {trash, trash + "/files", trash + "/info"}) {
        if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
            error = Error{Failure::TrashFolder, folder, errno, {}};
            return false;
        }
    }
    return true;
}

// The top of the disk that holds path: its highest folder on that device.
std::string topFolderOf(const std::string& path, dev_t device)
{
    std::filesystem::path top = std::filesystem::path(path).parent_path();
    while (top.has_relative_path()) {
        struct stat above = {};
        const std::filesystem::path parent = top.parent_path();
        if (stat(parent.c_str(), &above) != 0 || above.st_dev != device)
            break;
        top = parent;
    }
    return top.string();
}

// The trash of the disk at top: "$top/.Trash/$uid" when the administrator made "$top/.Trash"
// a sticky folder of its own (no link), else "$top/.Trash-$uid".
std::string topTrash(const std::string& top)
{
    const std::string uid = std::to_string(getuid());
    const std::string shared = (top == "/" ? "" : top) + "/.Trash";
    struct stat status = {};
    if (lstat(shared.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
        (status.st_mode & S_ISVTX) != 0)
        return shared + "/" + uid;
    return shared + "-" + uid;
}

// Where a file on device goes: the user's trash when it is on the same disk, so that the file
// is only renamed, else the trash of the file's own disk.
std::optional<std::string> trashFor(const std::string& path, dev_t device, Error& error)
{
    const std::optional<std::string> home = homeTrash();
    if (home && makeTrash(*home, error)) {
        struct stat status = {};
        if (stat(home->c_str(), &status) == 0 && status.st_dev == device)
            return home;
    }
    const std::string trash = topTrash(topFolderOf(path, device));
    if (!makeTrash(trash, error))
        return std::nullopt;
    return trash;
}

// The bytes of the path as a trash information file holds them: every byte but the unreserved
// characters and '/' as %XX, so that a name that is not UTF-8 is kept exactly.
std::string encodedPath(const std::string& path)
{
    std::string encoded;
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
            (byte >= '0' && byte <= '9') || std::strchr("-_.~/", byte) != nullptr) {
            encoded += c;
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", byte);
            encoded += escape;
        }
    }
    return encoded;
}

std::string trashInfo(const std::string& path)
{
    const std::time_t now = std::time(nullptr);
    std::tm local = {};
    localtime_r(&now, &local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
    return "[Trash Info]\nPath=" + encodedPath(path) + "\nDeletionDate=" + date + "\n";
}

bool writeAll(int descriptor, const std::string& text)
{
    return write(descriptor, text.data(), text.size()) == static_cast<ssize_t>(text.size());
}

// The name of the file in the trash: its own, numbered when the trash holds one of that name
// already, and cut short where the information file's name would be too long.
std::string entryName(const std::string& name, int number)
{
    constexpr std::size_t kInfoSuffix = sizeof ".trashinfo" - 1;
    const std::string count = number == 1 ? "" : "." + std::to_string(number);
    const std::size_t room = NAME_MAX - kInfoSuffix - count.size();
    return name.substr(0, std::min(name.size(), room)) + count;
}

// Puts the file into trash: its information first, claimed under a name of its own, then the
// file itself; should the file not move, its information goes again.
bool moveInto(const std::string& trash, const std::string& path, Error& error)
{
    const std::string name = std::filesystem::path(path).filename().string();
    for (int number = 1; number < 10000; ++number) {
        const std::string entry = entryName(name, number);
        const std::string info = trash + "/info/" + entry + ".trashinfo";
        const std::string file = trash + "/files/" + entry;
        const int descriptor = open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (descriptor < 0 && errno == EEXIST)
            continue;
        if (descriptor < 0) {
            error = Error{Failure::TrashEntry, info, errno, {}};
            return false;
        }
        struct stat taken = {};
        const bool nameFree = lstat(file.c_str(), &taken) != 0;
        const bool written = nameFree && writeAll(descriptor, trashInfo(path));
        const int writeError = errno;
        close(descriptor);
        if (!nameFree) {
            unlink(info.c_str());
            continue;
        }
        if (!written || rename(path.c_str(), file.c_str()) != 0) {
            error = Error{Failure::System, path, written ? errno : writeError, {}};
            unlink(info.c_str());
            return false;
        }
        return true;
    }
    error = Error{Failure::TrashFull, path, 0, {}};
    return false;
}

} // namespace

Outcome CDesktopTrash::moveToTrash(const std::string& path)
{
    std::error_code notThere;
    const std::string absolute = std::filesystem::absolute(path, notThere).string();
    struct stat file = {};
    if (notThere || lstat(absolute.c_str(), &file) != 0)
        return Error{Failure::System, path, notThere ? notThere.value() : errno, {}};
    Error error;
    const std::optional<std::string> trash = trashFor(absolute, file.st_dev, error);
    if (trash && moveInto(*trash, absolute, error))
        return Done{};
    return error;
}
