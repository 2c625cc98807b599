#pragma once

#include <string>

// What a video's pictures are and what the program makes of them, in words, for `info` and the
// video window's title.
struct PictureDescription
{
    struct Ratio
    {
        int num = 0;
        int den = 0; // 0:0 when unknown
    };

    int storedWidth = 0;
    int storedHeight = 0;
    int shownWidth = 0; // the size of the pictures shown and saved
    int shownHeight = 0;
    std::string codec;
    std::string profile; // empty when the codec has none
    std::string pixelFormat;
    int bitDepth = 0;
    // FFmpeg's names of the tags ("bt709", "smpte170m", "bt2020nc"); "unknown" where the file
    // and the picture say nothing.
    std::string matrix;
    std::string matrixNote; // why, when the matrix is not the file's: "assumed: untagged HD"
    std::string range;      // "limited" or "full"
    std::string rangeNote;
    std::string primaries;
    std::string transfer;
    std::string conversion; // what is done to the colours beyond the matrix; empty for nothing
    int clockwiseRotation = 0;
    bool mirrored = false;
    bool orientationKept = false; // the KeepRotation option leaves the stored orientation
    bool interlaced = false;
    bool deinterlaced = false;
    Ratio sampleAspect;
    Ratio displayAspect;
    bool nonSquarePixels = false;
};

struct AVFrame;
struct PictureOptions;
struct StreamPicture;

// The stream described with the options; its colour as tagged on first, the first picture
// decoded, where most files keep it, or by the stream alone when first is null.
PictureDescription DescribePicture(const StreamPicture& stream, const PictureOptions& options,
                                   const AVFrame* first);
