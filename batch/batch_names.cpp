#include "batch/batch_names.h"

#include "image/image_file_type.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

// The path without the extension of its final component.
std::string_view withoutExtension(std::string_view path)
{
    return path.substr(0, path.size() - PathExtension(path).size());
}

std::string_view fileName(std::string_view path)
{
    const size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string numbered(std::string_view prefix, unsigned long long number, std::string_view extension)
{
    char digits[32];
    std::snprintf(digits, sizeof digits, "%06llu", number);
    return std::string(prefix) + digits + std::string(extension);
}

} // namespace

bool NameTaken(const std::string& path)
{
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() !=
           std::filesystem::file_type::not_found;
}

std::string ScaleTargetPath(std::string_view targetFolder, std::string_view source,
                            ImageFormat format)
{
    std::string path(targetFolder);
    if (!path.empty() && path.back() != '/')
        path += '/';
    path += withoutExtension(fileName(source));
    path += imageFormatInfo(format).extension;
    return path;
}

std::string NextFreeTargetName(std::string_view target,
                               const std::function<bool(const std::string&)>& isTaken)
{
    if (target.empty())
        return {};
    const std::string_view extension = PathExtension(target);
    const std::string_view stem = withoutExtension(target);
    const size_t nameStart = stem.size() - fileName(stem).size();
    size_t digitsStart = stem.size();
    while (digitsStart > nameStart && stem[digitsStart - 1] >= '0' && stem[digitsStart - 1] <= '9')
        --digitsStart;
    unsigned long long number = 0;
    const std::string_view digits = stem.substr(digitsStart);
    if (std::from_chars(digits.data(), digits.data() + digits.size(), number).ec ==
        std::errc::result_out_of_range)
        return std::string(target); // a number far beyond the last one: nothing to count up
    const std::string_view prefix = stem.substr(0, digitsStart);

    constexpr unsigned long long kLastNumber = 999999;
    std::string candidate = numbered(prefix, number, extension);
    while (++number <= kLastNumber && isTaken(candidate))
        candidate = numbered(prefix, number, extension);
    return candidate;
}

std::string ResizedCopyPath(std::string_view target, ImageFormat format, int width, int height)
{
    return std::string(withoutExtension(target)) + "_" + std::to_string(width) + "x" +
           std::to_string(height) + std::string(imageFormatInfo(format).extension);
}
