#include "video/contact_sheet.h"

#include "video/picture_description.h"
#include "video/screen_picture.h"
#include "video/video_reader.h"

#include <algorithm>
#include <filesystem>

bool IsSheetGridValid(const SheetGrid& grid)
{
    return grid.columns >= 1 && grid.columns <= kSheetMaxColumns && grid.rows >= 1 &&
           grid.rows <= kSheetMaxRows && grid.width >= kSheetMinWidth &&
           grid.width <= kSheetMaxWidth;
}

std::vector<int> SpreadIndices(int size, int count)
{
    std::vector<int> indices;
    if (size <= 0 || count <= 0)
        return indices;
    if (size <= count) {
        for (int i = 0; i < size; ++i)
            indices.push_back(i);
        return indices;
    }
    for (std::int64_t i = 0; i < count; ++i)
        indices.push_back(static_cast<int>((2 * i + 1) * size / (2 * std::int64_t{count})));
    return indices;
}

std::vector<int> SheetFrameChoice(int first, int last, const std::vector<int>& keys,
                                  const SheetGrid& grid)
{
    const int count = grid.columns * grid.rows;
    std::vector<int> frames;
    if (grid.frames == SheetFrames::KeyFrames) {
        for (int index : SpreadIndices(static_cast<int>(keys.size()), count))
            frames.push_back(keys[static_cast<std::size_t>(index)]);
        return frames;
    }
    if (last < first)
        return frames;
    const std::int64_t size = std::int64_t{last} - first + 1;
    for (int index : SpreadIndices(static_cast<int>(std::min<std::int64_t>(size, INT32_MAX)), count))
        frames.push_back(first + index);
    return frames;
}

SheetRect SheetLayout::picture(int cell) const
{
    const int used = columns * cellWidth + (columns + 1) * margin;
    const int left = (width - used) / 2;
    const int row = cell / columns;
    const int column = cell % columns;
    return {left + margin + column * (cellWidth + margin),
            header.y + header.height + margin + row * (pictureHeight + labelHeight + margin),
            cellWidth, pictureHeight};
}

SheetRect SheetLayout::label(int cell) const
{
    const SheetRect above = picture(cell);
    return {above.x, above.y + above.height, above.width, labelHeight};
}

Result<SheetLayout> LayOutSheet(const SheetGrid& grid, int cells, int frameWidth,
                                int frameHeight, int lineHeight, int headerLines)
{
    SheetLayout layout;
    layout.width = grid.width;
    layout.margin = std::max(4, grid.width / 240);
    layout.columns = std::max(1, std::min(grid.columns, cells));
    layout.cells = cells;
    layout.cellWidth = (grid.width - (grid.columns + 1) * layout.margin) / grid.columns;
    if (frameWidth <= 0 || frameHeight <= 0 || layout.cellWidth < 8)
        return Error{Failure::FrameSize};
    layout.pictureHeight = std::max<int>(
        1, static_cast<int>(std::int64_t{layout.cellWidth} * frameHeight / frameWidth));
    layout.labelHeight = lineHeight + layout.margin / 2;
    layout.header = {layout.margin, layout.margin, grid.width - 2 * layout.margin,
                     headerLines * lineHeight};
    const int rows = (cells + layout.columns - 1) / layout.columns;
    const std::int64_t height =
        layout.header.y + layout.header.height + layout.margin +
        std::int64_t{rows} * (layout.pictureHeight + layout.labelHeight + layout.margin);
    if (height > kSheetMaxHeight)
        return Error{Failure::SheetTooLarge, {}, 0, {},
                     {std::to_string(grid.width) + "x" + std::to_string(height)}};
    layout.height = static_cast<int>(height);
    return layout;
}

namespace {

std::vector<int> keyFrames(const VideoReader& reader)
{
    std::vector<int> keys;
    const int last = reader.facts().lastFrame;
    for (int key = reader.findKeyFrame(reader.facts().firstFrame, SearchDirection::Forward);
         key >= 0; key = reader.findKeyFrame(key + 1, SearchDirection::Forward)) {
        keys.push_back(key);
        if (key >= last)
            break;
    }
    return keys;
}

} // namespace

ContactSheet::ContactSheet(VideoReader& reader, const SheetGrid& grid) : m_reader(&reader)
{
    const VideoFacts& video = reader.facts();
    m_frames = SheetFrameChoice(video.firstFrame, video.lastFrame,
                                grid.frames == SheetFrames::KeyFrames ? keyFrames(reader)
                                                                      : std::vector<int>{},
                                grid);
}

SheetHeader ContactSheet::header() const
{
    const VideoFacts& video = m_reader->facts();
    SheetHeader header;
    const std::filesystem::path path(video.path);
    header.fileName = path.filename().string();
    std::error_code error;
    const std::uintmax_t bytes = std::filesystem::file_size(path, error);
    header.fileBytes = error ? -1 : static_cast<std::int64_t>(bytes);
    header.duration = video.duration;
    header.width = video.width;
    header.height = video.height;
    header.codec = m_reader->describePicture().codec;
    header.kilobitsPerSecond = video.titleBitrate;
    return header;
}

SheetCell ContactSheet::next(int width, int height)
{
    SheetCell cell;
    cell.index = static_cast<int>(m_next);
    cell.frame = m_frames.at(m_next++);
    cell.text = FrameText(cell.frame, m_reader->sampleTime(cell.frame));
    m_reader->decode(cell.frame);
    // The reader only scales down; a cell larger than the frame gets the frame whole, for the
    // drawer to enlarge.
    const VideoFacts& video = m_reader->facts();
    if (width > video.width || height > video.height) {
        width = video.width;
        height = video.height;
    }
    cell.picture = m_reader->screenPicture(width, height);
    return cell;
}
