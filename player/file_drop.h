#pragma once

#include <QString>

class QDropEvent;
class QMimeData;

// Where on the player's windows something is dropped.
enum class DropPlace
{
    Window,    // anywhere on the video window or the panel
    FolderRow, // the panel's "Save to" row
};

enum class DropKind
{
    Refused,
    Video,  // opened as the Open command opens a video
    Folder, // becomes the target folder
};

struct DroppedItem
{
    DropKind kind = DropKind::Refused;
    QString path;
};

// What a drop means: one local video file anywhere, or one local folder on the "Save to" row;
// anything else (several items, other files, a folder elsewhere, text, remote places) is refused.
DroppedItem ClassifyDrop(const QMimeData& data, DropPlace place);

// Accepts a drag or a drop as a copy, so that the place it comes from keeps its file whatever it
// offered; a refused item, or one that can only be moved, is ignored, and the pointer shows its
// "no" shape. True when accepted.
bool AnswerDrop(QDropEvent& event, const DroppedItem& item);
