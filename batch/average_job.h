#pragma once

#include "batch/batch_job.h"
#include "batch/image_sum.h"

#include <string>
#include <vector>

// Whether an Average run also writes its result cut to a fixed size.
enum class ResizedCopy
{
    No,
    Yes,
};

// Whether an Average run moves its target on to the next free numbered name.
enum class AutoNumber
{
    No,
    Yes,
};

// What an Average run is asked to do.
struct AverageJobSettings
{
    std::string sourceFolder;
    ImageFormat sourceFormat = ImageFormat::Bmp;
    std::string
        targetFile; // its extension chooses the writer; any but the five known writes nothing
    ResizedCopy copy800x600 = ResizedCopy::Yes;
    ResizedCopy copy1024x768 = ResizedCopy::Yes;
    AutoNumber autoNumber = AutoNumber::Yes;
    SourceFiles sources = SourceFiles::Keep;
};

// Merges the images of one type in a folder into their mean image, written to the target file
// and optionally as copies brought to 800x600 and 1024x768 beside it. Every readable image
// counts, and the mean is taken over the images actually summed. The sources go to the trash
// only once the result and all its copies are written; a stopped run writes nothing.
//
//     CAverageJob job(trash, progress);
//     if (job.start(settings) == BatchStart::Ready) { job.run(); result = job.finish(quality); }
class CAverageJob : public CBatchJob
{
public:
    using CBatchJob::CBatchJob;

    // Counts the sources and, with auto number, picks the target's free name.
    BatchStart start(const AverageJobSettings& settings);
    // The target file the run writes to.
    const std::string& targetFile() const { return m_settings.targetFile; }
    // Writes the result (JPEG at quality) unless the run was stopped, then trashes the sources.
    BatchResult finish(int jpegQuality);

protected:
    // Adding an image to the sums takes less than reading it: there is nothing to hand over.
    int workerCount() const override { return 0; }
    bool takeSource(SourceWork& work) override;

private:
    // The target and the copies to be written beside it.
    std::vector<std::string> outputPaths(const std::string& target) const;
    bool writeResults(int jpegQuality);
    bool writeOutput(ImageFormat format, const std::string& path, CDibImage& image, int quality);
    bool isOutput(const std::string& path) const;

    AverageJobSettings m_settings;
    CImageSum m_sum;
    struct SummedSource
    {
        std::string path;
        FileStamp stamp;
    };
    std::vector<SummedSource> m_summed; // the sources in the sum, to be trashed at the end
    std::vector<std::string> m_outputs; // the files written
};
