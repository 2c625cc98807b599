#include "batch/average_job.h"
#include "batch/batch_names.h"

#include "support/batch_fixture.h"
#include "support/faults.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::string>;

class AverageJobTest : public ::testing::Test
{
protected:
    AverageJobTest() { fs::create_directory(m_source); }

    void addSource(const std::string& name, CDibImage image)
    {
        SaveTestImage(ImageFormat::Bmp, (m_source / name).string(), image);
    }

    AverageJobSettings settings(const std::string& target) const
    {
        return {m_source.string(),       ImageFormat::Bmp, (m_dir.path() / target).string(),
                ResizedCopy::No,         ResizedCopy::No,  AutoNumber::No,
                SourceFiles::MoveToTrash};
    }

    BatchResult run(const AverageJobSettings& settings, int stopAt = 0,
                    std::function<void(int)> beforeFile = {})
    {
        m_progress = RecordingProgress(stopAt);
        m_progress.beforeFile = std::move(beforeFile);
        CAverageJob job(m_trash, m_progress);
        m_progress.job = &job;
        EXPECT_EQ(job.start(settings), BatchStart::Ready);
        m_target = job.targetFile();
        job.run();
        return job.finish(95);
    }

    // The first pixel of the result, as blue, green, red.
    std::vector<int> firstPixel(int expectedWidth, int expectedHeight) const
    {
        CDibImage image;
        EXPECT_EQ(image.LoadBmp(m_target), 1);
        EXPECT_EQ(image.Width(), expectedWidth);
        EXPECT_EQ(image.Height(), expectedHeight);
        const std::uint8_t* pixel = image.PictureRow(0);
        return {pixel[0], pixel[1], pixel[2]};
    }

    TempDir m_dir;
    fs::path m_source = m_dir.path() / "frames";
    FakeTrash m_trash{m_dir.path() / "trash"};
    RecordingProgress m_progress;
    std::string m_target;
};

} // namespace

TEST_F(AverageJobTest, TheMeanIsTakenOverTheImagesRead)
{
    addSource("a.bmp", SolidImage(2, 1, 10, 0, 255));
    addSource("b.bmp", SolidImage(2, 1, 11, 1, 255));
    std::ofstream(m_source / "c.bmp") << "no bitmap";
    const BatchResult outcome = run(settings("avg.bmp"));
    EXPECT_EQ(outcome.outcome, BatchOutcome::Finished);
    EXPECT_EQ(outcome.skipped, 1);
    // 21 / 2 rounds up to 11, 1 / 2 to 1; the unreadable file darkens nothing.
    EXPECT_EQ(firstPixel(2, 1), (std::vector<int>{11, 1, 255}));

    // A larger second image adds its top-left corner.
    fs::remove_all(m_source);
    fs::create_directory(m_source);
    addSource("a.bmp", SolidImage(640, 480, 100, 100, 100));
    CDibImage larger = SolidImage(800, 600, 0, 0, 0);
    for (int y = 0; y < 480; ++y)
        std::fill_n(larger.PictureRow(y), 640 * 3, 200);
    addSource("b.bmp", std::move(larger));
    run(settings("avg.bmp"));
    EXPECT_EQ(firstPixel(640, 480), (std::vector<int>{150, 150, 150}));
}

TEST_F(AverageJobTest, EveryReadableImageCountsBeyond255)
{
    for (int i = 0; i < 300; ++i) {
        const int value = i < 255 ? 200 : 0;
        char name[16];
        std::snprintf(name, sizeof name, "%03d.bmp", i);
        addSource(name, SolidImage(1, 1, value, value, value));
    }
    run(settings("avg.bmp"));
    // 255 x 200 / 300, where a cap at 255 images would give 200.
    EXPECT_EQ(firstPixel(1, 1), (std::vector<int>{170, 170, 170}));
}

TEST_F(AverageJobTest, TheResultAndItsCopiesAreWrittenBeforeTheSourcesGo)
{
    addSource("a.bmp", SolidImage(4, 3, 1, 2, 3));
    addSource("b.bmp", SolidImage(4, 3, 1, 2, 3));
    AverageJobSettings both = settings("out/avg.jpeg");
    both.sourceFormat = ImageFormat::Bmp;
    both.copy800x600 = ResizedCopy::Yes;
    both.copy1024x768 = ResizedCopy::Yes;
    const BatchResult outcome = run(both);
    EXPECT_EQ(outcome.written, 3);
    EXPECT_EQ(m_progress.copies, (Names{"800x600", "1024x768"}));
    EXPECT_EQ(FileNames(m_dir.path() / "out"),
              (Names{"avg.jpeg", "avg_1024x768.jpg", "avg_800x600.jpg"}));
    CDibImage copy;
    ASSERT_EQ(
        LoadImageFile(ImageFormat::Jpeg, (m_dir.path() / "out/avg_800x600.jpg").string(), copy), 1);
    EXPECT_EQ(copy.Width(), 800);
    EXPECT_TRUE(FileNames(m_source).empty());
    EXPECT_EQ(m_trash.trashed.size(), 2u);

    // Auto number: the next run takes the first free number.
    addSource("a.bmp", SolidImage(4, 3, 1, 2, 3));
    AverageJobSettings numbered = settings("out/avg.jpeg");
    numbered.autoNumber = AutoNumber::Yes;
    run(numbered);
    EXPECT_EQ(m_target, (m_dir.path() / "out/avg000000.jpeg").string());
}

TEST_F(AverageJobTest, AutoNumberTakesTheFirstFreeNumber)
{
    const std::string folder = m_dir.path().string() + "/";
    EXPECT_EQ(NextFreeTargetName(folder + "avg.jpg"), folder + "avg000000.jpg");
    std::ofstream(folder + "avg000000.jpg") << "x";
    fs::create_directory(folder + "avg000001.jpg");
    EXPECT_EQ(NextFreeTargetName(folder + "avg.jpg"), folder + "avg000002.jpg");
    // The job's copies count too: an earlier run's copy is never replaced.
    addSource("a.bmp", SolidImage(2, 2, 10, 10, 10));
    std::ofstream(folder + "avg000002_800x600.jpg") << "x";
    AverageJobSettings numbered = settings("avg.jpg");
    numbered.autoNumber = AutoNumber::Yes;
    numbered.copy800x600 = ResizedCopy::Yes;
    CAverageJob job(m_trash, m_progress);
    ASSERT_EQ(job.start(numbered), BatchStart::Ready);
    EXPECT_EQ(job.targetFile(), folder + "avg000003.jpg");
    EXPECT_EQ(NextFreeTargetName(folder + "avg000003.jpg"), folder + "avg000003.jpg");
    EXPECT_EQ(NextFreeTargetName(folder + "a123.jpg"), folder + "a000123.jpg");
    EXPECT_EQ(NextFreeTargetName(folder + "2024.v1/42"), folder + "2024.v1/000042");
    // Past the last number the last name is taken, even though it exists.
    std::ofstream(folder + "z999999.png") << "x";
    EXPECT_EQ(NextFreeTargetName(folder + "z999999.png"), folder + "z999999.png");
    EXPECT_EQ(NextFreeTargetName(""), "");
}

TEST_F(AverageJobTest, AStoppedRunWritesNothingAndKeepsEverySource)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        addSource(name, SolidImage(2, 2, 1, 2, 3));
    EXPECT_EQ(run(settings("avg.bmp"), 3).outcome, BatchOutcome::Stopped);
    EXPECT_FALSE(fs::exists(m_target));
    EXPECT_EQ(FileNames(m_source).size(), 3u);
    EXPECT_TRUE(m_trash.trashed.empty());

    // Stopped before anything was read, the run has nothing to show.
    EXPECT_EQ(run(settings("avg.bmp"), 1).outcome, BatchOutcome::NothingRead);
}

TEST_F(AverageJobTest, NoSourceGoesUnlessEveryResultWasWritten)
{
    for (const char* name : {"a.bmp", "b.bmp"})
        addSource(name, NoiseImage(16, 16));
    AverageJobSettings withCopy = settings("avg.bmp");
    withCopy.copy800x600 = ResizedCopy::Yes;
    {
        // The small result fits; its 800 x 600 copy finds the disk full.
        const FileSizeLimit full(4096);
        const BatchResult outcome = run(withCopy);
        EXPECT_EQ(outcome.outcome, BatchOutcome::Failed);
        EXPECT_EQ(outcome.written, 1);
        EXPECT_NE(TextOf(outcome.error).find("File too large"), std::string::npos)
            << TextOf(outcome.error);
    }
    EXPECT_TRUE(fs::exists(m_target));
    EXPECT_FALSE(fs::exists(m_dir.path() / "avg_800x600.bmp"));
    EXPECT_EQ(FileNames(m_source), (Names{"a.bmp", "b.bmp"}));
    EXPECT_TRUE(m_trash.trashed.empty());

    FakeTrash refusing(m_dir.path() / "trash", FakeTrash::Mode::Refuse);
    CAverageJob job(refusing, m_progress);
    ASSERT_EQ(job.start(withCopy), BatchStart::Ready);
    job.run();
    const BatchResult outcome = job.finish(95);
    EXPECT_EQ(outcome.outcome, BatchOutcome::Finished);
    EXPECT_EQ(outcome.keptSources, 2);
    EXPECT_EQ(FileNames(m_source), (Names{"a.bmp", "b.bmp"}));

    // Nothing readable: nothing is written, nothing goes.
    fs::remove(m_target);
    for (const char* name : {"a.bmp", "b.bmp"})
        std::ofstream(m_source / name) << "no bitmap";
    EXPECT_EQ(run(settings("avg.bmp")).outcome, BatchOutcome::NothingRead);
    EXPECT_FALSE(fs::exists(m_target));
    EXPECT_EQ(FileNames(m_source).size(), 2u);
}

TEST_F(AverageJobTest, ASourceThatChangesAfterItWasSummedStaysAndOneThatVanishesIsSkipped)
{
    addSource("a.bmp", SolidImage(2, 2, 10, 10, 10));
    addSource("b.bmp", SolidImage(2, 2, 30, 30, 30));
    addSource("c.bmp", SolidImage(2, 2, 90, 90, 90));
    const BatchResult outcome = run(settings("avg.bmp"), 0, [this](int position) {
        if (position != 2)
            return;
        addSource("a.bmp", SolidImage(2, 2, 250, 250, 250));
        fs::remove(m_source / "c.bmp");
    });
    EXPECT_EQ(outcome.outcome, BatchOutcome::Finished);
    EXPECT_EQ(outcome.used, 2);
    EXPECT_EQ(outcome.skipped, 1);
    EXPECT_EQ(firstPixel(2, 2), (std::vector<int>{20, 20, 20}));
    // a's new picture went into no result, so a stays.
    EXPECT_EQ(m_trash.trashed, Names{(m_source / "b.bmp").string()});
    EXPECT_EQ(outcome.keptSources, 1);
    EXPECT_EQ(TextOf(outcome.trashError), "it changed after it was read");
    EXPECT_EQ(FileNames(m_source), Names{"a.bmp"});
}

TEST_F(AverageJobTest, ATargetFolderRemovedDuringTheRunFailsTheWriteAndKeepsEverySource)
{
    for (const char* name : {"a.bmp", "b.bmp"})
        addSource(name, SolidImage(2, 2, 1, 2, 3));
    const fs::path folder = m_dir.path() / "averages";
    const BatchResult outcome = run(settings("averages/avg.bmp"), 0, [&](int position) {
        if (position == 2)
            fs::remove_all(folder);
    });
    EXPECT_EQ(outcome.outcome, BatchOutcome::Failed);
    EXPECT_EQ(TextOf(outcome.error), "Sorry, can't write the file " +
                                         (folder / "avg.bmp").string() +
                                         ". No such file or directory.");
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_TRUE(m_trash.trashed.empty());
    EXPECT_EQ(FileNames(m_source), (Names{"a.bmp", "b.bmp"}));
}

TEST_F(AverageJobTest, AResultNamedLikeASourceSendsThatSourceToTheTrashFirst)
{
    // A second run into the source folder: the earlier average is a source now.
    addSource("a.bmp", SolidImage(2, 2, 10, 10, 10));
    addSource("avg.bmp", SolidImage(2, 2, 30, 30, 30));
    AverageJobSettings again = settings("frames/avg.bmp");
    const BatchResult outcome = run(again);
    EXPECT_EQ(outcome.outcome, BatchOutcome::Finished);
    EXPECT_EQ(firstPixel(2, 2), (std::vector<int>{20, 20, 20}));
    EXPECT_EQ(m_trash.trashed.size(), 2u);
    EXPECT_EQ(FileNames(m_dir.path() / "trash"), (Names{"a.bmp", "avg.bmp"}));

    // With the sources kept, the run is refused before anything is read: one of them would be
    // lost, the copies' names included.
    addSource("a.bmp", SolidImage(2, 2, 10, 10, 10));
    addSource("new_800x600.bmp", SolidImage(2, 2, 30, 30, 30));
    AverageJobSettings kept = settings("frames/new.bmp");
    kept.sources = SourceFiles::Keep;
    kept.copy800x600 = ResizedCopy::Yes;
    CAverageJob job(m_trash, m_progress);
    EXPECT_EQ(job.start(kept), BatchStart::TargetIsSource);
    EXPECT_EQ(job.startError(), (m_source / "new_800x600.bmp").string());
    EXPECT_EQ(FileNames(m_source), (Names{"a.bmp", "avg.bmp", "new_800x600.bmp"}));
    kept.targetFile = (m_dir.path() / "avg.bmp").string();
    EXPECT_EQ(job.start(kept), BatchStart::Ready);
    kept.targetFile.clear();
    EXPECT_EQ(job.start(kept), BatchStart::NoTarget);
}

TEST_F(AverageJobTest, ThePictureThatWouldTakeTheSumsBeyondTheirBudgetIsPassedOver)
{
    // Four bytes of sums for each byte of the first picture, which sets their size.
    CImageSum sum(4 * 3 * 100);
    EXPECT_EQ(sum.add(SolidImage(11, 10, 1, 2, 3)), SumAdded::OverBudget);
    EXPECT_TRUE(sum.empty());
    EXPECT_EQ(sum.add(SolidImage(10, 10, 1, 2, 3)), SumAdded::Yes);
    EXPECT_EQ(sum.add(SolidImage(20, 20, 3, 2, 1)), SumAdded::Yes);
    CDibImage mean;
    ASSERT_TRUE(sum.average(mean));
    EXPECT_EQ(mean.Width(), 10);
    EXPECT_LE(CImageSum::DefaultBudgetBytes(), kMaxDibBytes);
}
