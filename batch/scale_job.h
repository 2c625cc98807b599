#pragma once

#include "batch/batch_job.h"

#include <set>
#include <string>

// What a Scale run is asked to do.
struct ScaleJobSettings
{
    std::string sourceFolder;
    ImageFormat sourceFormat = ImageFormat::Bmp;
    std::string targetFolder;
    ImageFormat targetFormat = ImageFormat::Bmp;
    int sizeIndex = 0; // into scaleSizes(); any other value makes nothing
    int jpegQuality = kDefaultBatchJpegQuality;
    SourceFiles sources = SourceFiles::Keep;
};

// Resizes every image of one type in a folder and writes each result into the target folder
// under the source's base name, replacing a file of that name. A source goes to the trash only
// once its result is written; a result that can't be written ends the run and keeps its source.
//
//     CScaleJob job(trash, progress);
//     if (job.start(settings) == BatchStart::Ready) { job.run(); result = job.finish(); }
class CScaleJob : public CBatchJob
{
public:
    using CBatchJob::CBatchJob;

    BatchStart start(const ScaleJobSettings& settings);
    BatchResult finish() const { return walkResult(); }

protected:
    void prepareSource(SourceWork& work) override;
    void makeResult(SourceWork& work) const override;
    bool takeSource(SourceWork& work) override;

private:
    bool takesAnotherName(const SourceWork& work) const;

    ScaleJobSettings m_settings;
    std::set<std::string> m_targets; // the results put in place by this run
};
