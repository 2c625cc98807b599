#pragma once

#include "platform/error.h"

#include <optional>
#include <string>

#include "batch/batch_job.h"
#include "batch/trash_can.h"
#include "image/dib_image.h"
#include "image/image_format.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// A trash that records what it was given, moving each file into a folder of its own, or that
// refuses every file.
class FakeTrash : public TrashCan
{
public:
    enum class Mode
    {
        Accept,
        Refuse,
    };

    FakeTrash(std::filesystem::path folder, Mode mode = Mode::Accept)
        : m_folder(std::move(folder)), m_mode(mode)
    {}

    Outcome moveToTrash(const std::string& path) override;

    std::vector<std::string> trashed;

private:
    std::filesystem::path m_folder;
    Mode m_mode;
};

// Records what a batch job reports, and stops the job when it takes up the file at stopAt.
class RecordingProgress : public BatchProgress
{
public:
    explicit RecordingProgress(int stopAt = 0) : m_stopAt(stopAt) {}

    void onFile(int position, const std::string& path) override;
    void onNotice(const std::string& text) override { notices.push_back(text); }
    void onResizedCopy(int width, int height) override
    {
        copies.push_back(std::to_string(width) + "x" + std::to_string(height));
    }

    CBatchJob* job = nullptr; // the job to stop
    // Runs before each file is taken up, with its position: the world may change there.
    std::function<void(int position)> beforeFile;
    std::vector<std::string> files; // in the order taken up, each with its position
    std::vector<std::string> notices;
    std::vector<std::string> copies;

private:
    int m_stopAt;
};

// A 24-bit image of one colour.
CDibImage SolidImage(int width, int height, std::uint8_t blue, std::uint8_t green,
                     std::uint8_t red);
// A 24-bit image of random bytes, which no writer can make much smaller.
CDibImage NoiseImage(int width, int height);
// Writes image in the format; fails the test when it can't.
void SaveTestImage(ImageFormat format, const std::string& path, CDibImage& image);
// The names of a folder's entries, sorted.
std::vector<std::string> FileNames(const std::filesystem::path& folder);

// An error in the command line's words; empty for none.
inline std::string TextOf(const std::optional<Error>& error)
{
    return error ? EnglishText(*error) : std::string();
}
