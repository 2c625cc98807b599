#pragma once

#include "platform/error.h"
#include "video/picture_coding.h"

#include <cstdint>
#include <memory>
#include <optional>

class VideoReader;

// One packet of a video stream as it is stored: the frame whose picture it holds, in the
// reader's numbering, its bytes, its picture type and whether it is a key frame.
struct StoredPicture
{
    int frame = 0;
    std::uint32_t bytes = 0;
    PictureType type = PictureType::Unknown;
    bool key = false;
};

// Reads an open video's stream through once more, packet by packet in storage order, and tells
// each packet's picture type from the codec's parser, which reads the picture headers only:
// nothing is decoded. A codec without a parser gives Unknown types. The file is read on a handle
// of its own, so the reader's position and decoder are never touched.
class StoredPictureScan
{
public:
    StoredPictureScan();
    ~StoredPictureScan();
    StoredPictureScan(const StoredPictureScan&) = delete;
    StoredPictureScan& operator=(const StoredPictureScan&) = delete;

    // The reader must stay open while the scan lives.
    Outcome open(const VideoReader& reader);
    // The next packet that holds a frame; none at the end of the stream or of what can be read.
    std::optional<StoredPicture> next();
    // How far the read has got, in thousandths of the file's bytes.
    int permille() const;

private:
    struct Handles;
    std::unique_ptr<Handles> m_handles;
    const VideoReader* m_reader = nullptr;
};
