#include "support/batch_fixture.h"

#include <algorithm>
#include <stdexcept>
#include <system_error>

namespace fs = std::filesystem;

Outcome FakeTrash::moveToTrash(const std::string& path)
{
    if (m_mode == Mode::Refuse)
        return Error{Failure::Reason, path, 0, "the trash is full"};
    fs::create_directories(m_folder);
    std::error_code failure;
    fs::rename(path, m_folder / fs::path(path).filename(), failure);
    if (failure)
        return Error{Failure::System, path, failure.value(), {}};
    trashed.push_back(path);
    return Done{};
}

void RecordingProgress::onFile(int position, const std::string& path)
{
    files.push_back(std::to_string(position) + " " + fs::path(path).filename().string());
    if (beforeFile)
        beforeFile(position);
    if (position == m_stopAt && job != nullptr)
        job->requestStop();
}

CDibImage SolidImage(int width, int height, std::uint8_t blue, std::uint8_t green, std::uint8_t red)
{
    CDibImage image;
    image.Create(width, height, 24);
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = image.PictureRow(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = blue;
            row[3 * x + 1] = green;
            row[3 * x + 2] = red;
        }
    }
    return image;
}

CDibImage NoiseImage(int width, int height)
{
    CDibImage image;
    image.Create(width, height, 24);
    std::uint32_t state = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width * 3; ++x) {
            state = state * 1664525u + 1013904223u;
            image.PictureRow(y)[x] = static_cast<std::uint8_t>(state >> 24);
        }
    }
    return image;
}

void SaveTestImage(ImageFormat format, const std::string& path, CDibImage& image)
{
    if (!SaveImageFile(format, path, image, 95))
        throw std::runtime_error("cannot write the test image " + path);
}

std::vector<std::string> FileNames(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}
