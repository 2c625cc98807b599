#include "batch/scale_job.h"

#include "support/batch_fixture.h"
#include "support/faults.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <optional>

namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::string>;

class ScaleJobTest : public ::testing::Test
{
protected:
    ScaleJobTest() { fs::create_directory(m_source); }

    void addSource(const std::string& name, CDibImage image, ImageFormat format = ImageFormat::Bmp)
    {
        SaveTestImage(format, (m_source / name).string(), image);
    }

    ScaleJobSettings settings(int sizeIndex, ImageFormat from = ImageFormat::Bmp,
                              ImageFormat to = ImageFormat::Bmp) const
    {
        return {m_source.string(), from, m_target.string(),       to,
                sizeIndex,         95,   SourceFiles::MoveToTrash};
    }

    BatchResult run(const ScaleJobSettings& settings, int stopAt = 0,
                    std::function<void(int)> beforeFile = {})
    {
        m_progress = RecordingProgress(stopAt);
        m_progress.beforeFile = std::move(beforeFile);
        CScaleJob job(m_trash, m_progress);
        m_progress.job = &job;
        EXPECT_EQ(job.start(settings), BatchStart::Ready);
        job.run();
        return job.finish();
    }

    CDibImage result(const std::string& name, ImageFormat format = ImageFormat::Bmp) const
    {
        CDibImage image;
        EXPECT_EQ(LoadImageFile(format, (m_target / name).string(), image), 1) << name;
        return image;
    }

    TempDir m_dir;
    fs::path m_source = m_dir.path() / "photos";
    fs::path m_target = m_dir.path() / "scaled"; // made by the job
    FakeTrash m_trash{m_dir.path() / "trash"};
    RecordingProgress m_progress;
};

} // namespace

TEST_F(ScaleJobTest, ResultsTakeTheSizesOfTheList)
{
    struct Case
    {
        int width, height, sizeIndex, expectedWidth, expectedHeight;
    };
    for (const Case& c : {Case{101, 75, 0, 151, 112}, Case{1, 1, 1, 2, 2}, Case{2, 3, 2, 6, 9},
                          Case{1000, 1000, 3, 640, 480}, Case{600, 800, 4, 800, 600},
                          Case{100, 50, 5, 1024, 768}}) {
        SCOPED_TRACE(c.sizeIndex);
        fs::remove_all(m_source);
        fs::create_directory(m_source);
        CDibImage source = SolidImage(c.width, c.height, 0, 255, 0);
        if (c.sizeIndex == 3) {
            // Bands that the 80 rows cut off the top and the bottom of 1000 x 640 take away.
            for (int y = 0; y < 120; ++y) {
                std::fill_n(source.PictureRow(y), 3000, 0);
                std::fill_n(source.PictureRow(999 - y), 3000, 0);
            }
        }
        addSource("a.bmp", std::move(source));
        EXPECT_EQ(run(settings(c.sizeIndex)).written, 1);
        const CDibImage scaled = result("a.bmp");
        EXPECT_EQ(scaled.Width(), c.expectedWidth);
        EXPECT_EQ(scaled.Height(), c.expectedHeight);
        for (int y : {0, c.expectedHeight - 1}) {
            const std::uint8_t* row = scaled.PictureRow(y);
            EXPECT_EQ(row[0] * 65536 + row[1] * 256 + row[2], 255 * 256) << "row " << y;
        }
    }
}

TEST_F(ScaleJobTest, EachSourceIsWrittenUnderItsBaseNameThenTrashed)
{
    addSource("photo.2003.jpg", SolidImage(4, 2, 10, 20, 30), ImageFormat::Jpeg);
    addSource("b.jpg", SolidImage(4, 2, 10, 20, 30), ImageFormat::Jpeg);
    addSource("png-named.jpg", SolidImage(4, 2, 10, 20, 30), ImageFormat::Png);
    addSource("other.bmp", SolidImage(4, 2, 10, 20, 30));
    fs::create_directory(m_target);
    std::ofstream(m_target / "b.png") << "an older result";

    // The target folder is given without a '/' at its end.
    const BatchResult outcome = run(settings(1, ImageFormat::Jpeg, ImageFormat::Png));
    EXPECT_EQ(outcome.outcome, BatchOutcome::Finished);
    EXPECT_EQ(outcome.written, 2);
    EXPECT_EQ(outcome.skipped, 1);
    EXPECT_EQ(m_progress.files, (Names{"1 b.jpg", "2 photo.2003.jpg", "3 png-named.jpg"}));
    EXPECT_EQ(FileNames(m_target), (Names{"b.png", "photo.2003.png"}));
    EXPECT_EQ(result("b.png", ImageFormat::Png).Width(), 8);
    EXPECT_EQ(m_trash.trashed,
              (Names{(m_source / "b.jpg").string(), (m_source / "photo.2003.jpg").string()}));
    // The file that is no JPEG stays, however it is named, and the user hears of it.
    EXPECT_EQ(FileNames(m_source), (Names{"other.bmp", "png-named.jpg"}));
    ASSERT_EQ(m_progress.notices.size(), 1u);
    EXPECT_NE(m_progress.notices[0].find("png-named.jpg"), std::string::npos);
}

TEST_F(ScaleJobTest, AStopLeavesEveryLaterFileUntouched)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        addSource(name, SolidImage(2, 2, 1, 2, 3));
    const BatchResult outcome = run(settings(1), 1);
    EXPECT_EQ(outcome.outcome, BatchOutcome::Stopped);
    EXPECT_EQ(m_progress.files, Names{"1 a.bmp"});
    EXPECT_EQ(FileNames(m_source), (Names{"a.bmp", "b.bmp", "c.bmp"}));
    EXPECT_TRUE(FileNames(m_target).empty());
    EXPECT_TRUE(m_trash.trashed.empty());
}

TEST_F(ScaleJobTest, AWriteThatFailsEndsTheRunAndKeepsItsSource)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        addSource(name, NoiseImage(40, 40));
    const Names sources = FileNames(m_source);

    {
        // A full disk: the first result can't be completed, and nothing of it is left.
        const FileSizeLimit full(4096);
        const BatchResult outcome = run(settings(2));
        EXPECT_EQ(outcome.outcome, BatchOutcome::Failed);
        EXPECT_NE(TextOf(outcome.error).find("File too large"), std::string::npos)
            << TextOf(outcome.error);
    }
    // Later files may have been taken up meanwhile: none of their results appears, and every
    // source stays.
    EXPECT_TRUE(FileNames(m_target).empty());
    EXPECT_EQ(FileNames(m_source), sources);

    // A folder where the second result should go: the first source is done and trashed.
    fs::create_directory(m_target / "b.bmp");
    BatchResult outcome = run(settings(2));
    EXPECT_EQ(outcome.outcome, BatchOutcome::Failed);
    EXPECT_EQ(outcome.written, 1);
    EXPECT_EQ(TextOf(outcome.error),
              "Sorry, can't write the file " + (m_target / "b.bmp").string() + ". Is a directory.");
    EXPECT_EQ(FileNames(m_source), (Names{"b.bmp", "c.bmp"}));
    EXPECT_EQ(m_trash.trashed, Names{(m_source / "a.bmp").string()});

    // A target folder that can't be made, under a file.
    CScaleJob job(m_trash, m_progress);
    ScaleJobSettings underFile = settings(2);
    underFile.targetFolder = (m_source / "b.bmp" / "scaled").string();
    EXPECT_EQ(job.start(underFile), BatchStart::TargetFolderFailed);
    EXPECT_EQ(job.startError(), "Not a directory");
    EXPECT_EQ(FileNames(m_source), (Names{"b.bmp", "c.bmp"}));

    // No target at all: never the root folder.
    underFile.targetFolder.clear();
    EXPECT_EQ(job.start(underFile), BatchStart::NoTarget);
}

TEST_F(ScaleJobTest, ASourceWhoseResultCantBeMadeIsPassedOverAndTheRunGoesOn)
{
    // Three times as wide is more than a JPEG file holds.
    addSource("a.bmp", SolidImage(22000, 1, 1, 2, 3));
    addSource("b.bmp", SolidImage(2, 2, 1, 2, 3));
    const BatchResult outcome = run(settings(2, ImageFormat::Bmp, ImageFormat::Jpeg));
    EXPECT_EQ(outcome.outcome, BatchOutcome::Finished);
    EXPECT_EQ(outcome.written, 1);
    EXPECT_EQ(outcome.passedOver, 1);
    EXPECT_EQ(TextOf(outcome.passOverReason),
              "its result of 66000x3 is larger than a jpg file can hold");
    EXPECT_EQ(FileNames(m_target), Names{"b.jpg"});
    EXPECT_EQ(FileNames(m_source), Names{"a.bmp"});
}

TEST_F(ScaleJobTest, SourcesTheTrashRefusesStayAndAResultNeverReplacesItsSourceForGood)
{
    for (const char* name : {"a.bmp", "b.bmp"})
        addSource(name, SolidImage(2, 2, 1, 2, 3));
    FakeTrash refusing(m_dir.path() / "trash", FakeTrash::Mode::Refuse);
    CScaleJob job(refusing, m_progress);
    ASSERT_EQ(job.start(settings(1)), BatchStart::Ready);
    job.run();
    const BatchResult outcome = job.finish();
    EXPECT_EQ(outcome.outcome, BatchOutcome::Finished);
    EXPECT_EQ(outcome.written, 2);
    EXPECT_EQ(outcome.keptSources, 2);
    EXPECT_EQ(TextOf(outcome.trashError), "the trash is full");
    EXPECT_EQ(FileNames(m_source), (Names{"a.bmp", "b.bmp"}));

    // Scaled in place, a source goes to the trash before its result takes its name.
    ScaleJobSettings inPlace = settings(1);
    inPlace.targetFolder = inPlace.sourceFolder;
    EXPECT_EQ(run(inPlace).written, 2);
    EXPECT_EQ(m_trash.trashed.size(), 2u);
    EXPECT_EQ(FileNames(m_dir.path() / "trash"), (Names{"a.bmp", "b.bmp"}));
    CDibImage image;
    ASSERT_EQ(image.LoadBmp((m_source / "a.bmp").string()), 1);
    EXPECT_EQ(image.Width(), 4);
}

TEST_F(ScaleJobTest, SourcesThatVanishOrChangeBeforeTheirTurnAreSkippedOrTakenAsTheyAreThen)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"})
        addSource(name, SolidImage(2, 2, 1, 2, 3));
    // While the first file is in hand, b goes, c turns into a file that is no image and d into
    // a larger image.
    const BatchResult outcome = run(settings(1), 0, [this](int position) {
        if (position != 1)
            return;
        fs::remove(m_source / "b.bmp");
        std::ofstream(m_source / "c.bmp") << "no bitmap";
        addSource("d.bmp", SolidImage(3, 3, 1, 2, 3));
    });
    EXPECT_EQ(outcome.outcome, BatchOutcome::Finished);
    EXPECT_EQ(outcome.written, 2);
    EXPECT_EQ(outcome.skipped, 2);
    EXPECT_EQ(FileNames(m_target), (Names{"a.bmp", "d.bmp"}));
    EXPECT_EQ(result("d.bmp").Width(), 6);
    EXPECT_EQ(FileNames(m_source), Names{"c.bmp"});
}

TEST_F(ScaleJobTest, ATargetFolderRemovedDuringTheRunEndsItAndKeepsTheLaterSources)
{
    for (const char* name : {"a.bmp", "b.bmp", "c.bmp"})
        addSource(name, SolidImage(2, 2, 1, 2, 3));
    const BatchResult outcome = run(settings(1), 0, [this](int position) {
        if (position == 2)
            fs::remove_all(m_target);
    });
    EXPECT_EQ(outcome.outcome, BatchOutcome::Failed);
    // a's result, made on a worker, may have taken its place before the folder went or not; the
    // first result that could not is the error, and only the sources of results put in place
    // went to the trash.
    const bool firstDone = !m_trash.trashed.empty();
    EXPECT_EQ(TextOf(outcome.error), "Sorry, can't write the file " +
                                         (m_target / (firstDone ? "b.bmp" : "a.bmp")).string() +
                                         ". No such file or directory.");
    const Names trashed = firstDone ? Names{(m_source / "a.bmp").string()} : Names{};
    EXPECT_EQ(m_trash.trashed, trashed);
    const Names kept = firstDone ? Names{"b.bmp", "c.bmp"} : Names{"a.bmp", "b.bmp", "c.bmp"};
    EXPECT_EQ(FileNames(m_source), kept);
    EXPECT_FALSE(fs::exists(m_target));

    // A target folder that nobody may write ends the run at its first result.
    if (const std::optional<std::string> locked = FolderNobodyMayWrite()) {
        ScaleJobSettings readOnly = settings(1);
        readOnly.targetFolder = *locked;
        const Names sources = FileNames(m_source);
        const BatchResult refused = run(readOnly);
        EXPECT_EQ(refused.outcome, BatchOutcome::Failed);
        EXPECT_EQ(
            TextOf(refused.error)
                .rfind("Sorry, can't write the file " + *locked + "/" + sources.front() + ". ", 0),
            0u)
            << TextOf(refused.error);
        EXPECT_EQ(FileNames(m_source), sources);
    }
}

TEST_F(ScaleJobTest, NamesThatDifferOnlyInCaseNeverReplaceEachOther)
{
    addSource("a.BMP", SolidImage(2, 2, 1, 2, 3));
    addSource("a.bmp", SolidImage(3, 3, 1, 2, 3));
    // Into another folder: the first takes "a.bmp", the other stays where it was.
    EXPECT_EQ(run(settings(1)).written, 1);
    EXPECT_EQ(FileNames(m_target), Names{"a.bmp"});
    EXPECT_EQ(FileNames(m_source).size(), 1u);
    EXPECT_EQ(m_trash.trashed.size(), 1u);

    // In the source folder: "a.BMP" would replace the source "a.bmp" and stays instead.
    fs::remove_all(m_source);
    fs::create_directory(m_source);
    addSource("a.BMP", SolidImage(2, 2, 1, 2, 3));
    addSource("a.bmp", SolidImage(3, 3, 1, 2, 3));
    ScaleJobSettings inPlace = settings(1);
    inPlace.targetFolder = inPlace.sourceFolder;
    const BatchResult clash = run(inPlace);
    EXPECT_EQ(clash.written, 1);
    EXPECT_EQ(clash.passedOver, 1);
    EXPECT_NE(TextOf(clash.passOverReason).find("another file of this run"), std::string::npos);
    EXPECT_EQ(FileNames(m_source), (Names{"a.BMP", "a.bmp"}));
    CDibImage kept;
    ASSERT_EQ(kept.LoadBmp((m_source / "a.BMP").string()), 1);
    EXPECT_EQ(kept.Width(), 2);
    ASSERT_EQ(kept.LoadBmp((m_source / "a.bmp").string()), 1);
    EXPECT_EQ(kept.Width(), 6);
}
