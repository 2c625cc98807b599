#pragma once

// A contact sheet of a video: a grid of frames spread over it, each with its frame text, under
// a header of the file's facts. The choice of frames, the layout in pixels and the decoding of
// each cell live here; drawing the text and the pictures is the caller's.

#include "platform/error.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ScreenPicture;
class VideoReader;

// Which frames a sheet spreads its cells over.
enum class SheetFrames
{
    All,       // every frame of the video
    KeyFrames, // its key frames only
};

struct SheetGrid
{
    int columns = 4;
    int rows = 6;
    int width = 1920; // of the whole sheet, in pixels
    SheetFrames frames = SheetFrames::All;
};

// The limits of a grid the program draws; a taller sheet is refused as SheetTooLarge.
inline constexpr int kSheetMaxColumns = 16;
inline constexpr int kSheetMaxRows = 64;
inline constexpr int kSheetMinWidth = 320;
inline constexpr int kSheetMaxWidth = 7680;
inline constexpr int kSheetMaxHeight = 30000;

// Whether columns, rows and width lie within the limits above.
bool IsSheetGridValid(const SheetGrid& grid);

// count of the indices 0 to size - 1, spread evenly: each the middle of one of count equal
// stretches, so that neither the very first nor the very last is taken when there are more to
// choose from. All of them when size is count or less.
std::vector<int> SpreadIndices(int size, int count);

// The frames of the sheet's cells among first to last (or among keys, in order, for key
// frames only): columns x rows of them, fewer when the video has fewer.
std::vector<int> SheetFrameChoice(int first, int last, const std::vector<int>& keys,
                                  const SheetGrid& grid);

struct SheetRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// Where everything goes on a sheet, in pixels from its top-left corner.
struct SheetLayout
{
    int width = 0;
    int height = 0;
    int margin = 0;
    SheetRect header;
    int columns = 0;
    int cells = 0;
    int cellWidth = 0;
    int pictureHeight = 0; // a frame scaled to cellWidth, at its own aspect
    int labelHeight = 0;

    SheetRect picture(int cell) const;
    SheetRect label(int cell) const;
};

// Lays out cells frames of frameWidth x frameHeight with a header of headerLines text lines and
// a label line under each frame, lineHeight pixels a line.
Result<SheetLayout> LayOutSheet(const SheetGrid& grid, int cells, int frameWidth,
                                int frameHeight, int lineHeight, int headerLines);

// The facts a sheet's header tells.
struct SheetHeader
{
    std::string fileName; // without its folder
    std::int64_t fileBytes = -1; // -1 when the size can't be read
    std::chrono::nanoseconds duration{0};
    int width = 0;
    int height = 0;
    std::string codec;
    std::int64_t kilobitsPerSecond = 0;
};

struct SheetCell
{
    int index = 0;
    int frame = 0;
    std::string text; // the frame's number and time, as FrameText gives them
    // The frame scaled to the cell's picture; null when it can't be decoded.
    std::shared_ptr<const ScreenPicture> picture;
};

// The cells of one sheet of an open video, decoded one at a time by whoever steps it.
class ContactSheet
{
public:
    // reader is open with frames wanted and stays open while the sheet is stepped.
    ContactSheet(VideoReader& reader, const SheetGrid& grid);

    const std::vector<int>& frames() const { return m_frames; }
    SheetHeader header() const;
    bool finished() const { return m_next >= m_frames.size(); }
    std::size_t cellsDone() const { return m_next; }
    // Decodes the next cell's frame at width x height, or at the frame's own size when that is
    // smaller.
    SheetCell next(int width, int height);

private:
    VideoReader* m_reader;
    std::vector<int> m_frames;
    std::size_t m_next = 0;
};
