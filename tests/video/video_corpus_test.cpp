#include "source/frame_source.h"
#include "video/av_stream_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

// The public AVI conformance files, when the shared folder lies beside the repository: each one
// gives the stored sizes its sizes file lists (the fifth column, one row a stored sample), or is
// refused when it lists none; nothing crashes.
TEST(VideoCorpus, PublicAvisGiveTheirListedSampleSizesOrAreRefused)
{
    const std::filesystem::path corpus = std::filesystem::path(CLIPMINT_CORPUS_DIR) / "avi";
    if (!std::filesystem::is_directory(corpus))
        GTEST_SKIP() << "no corpus at " << corpus;
    for (const auto& item : std::filesystem::directory_iterator(corpus)) {
        if (item.path().extension() != ".avi")
            continue;
        const std::string path = item.path().string();
        std::ifstream csv(std::filesystem::path(item.path()).replace_extension(".sizes.csv"));
        std::vector<std::uint32_t> expected;
        std::string line;
        std::getline(csv, line); // index,pts,dts,duration,size,pos,flags
        while (std::getline(csv, line)) {
            std::stringstream fields(line);
            for (int column = 0; column < 5; ++column)
                std::getline(fields, line, ',');
            expected.push_back(static_cast<std::uint32_t>(std::stoul(line)));
        }

        AvStreamReader reader;
        std::vector<std::uint32_t> stored;
        if (reader.open(path)) {
            for (int i = 0; i < reader.streamLength(); ++i) {
                if (const auto size = reader.sampleSize(reader.streamStart() + i); size && *size)
                    stored.push_back(*size);
            }
        }
        EXPECT_EQ(stored, expected) << path << " " << reader.errorText();

        CFrameSource source;
        std::int64_t bitrate = 0;
        if (source.Open(path, nullptr, nullptr, bitrate, WantFrames::Yes)) {
            for (int frame = source.firstFrame(); frame <= source.lastFrame(); ++frame)
                source.ShowFrame(frame, nullptr);
        }
    }
}
