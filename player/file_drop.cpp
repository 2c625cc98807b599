#include "player/file_drop.h"

#include "player/video_files.h"

#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

DroppedItem ClassifyDrop(const QMimeData& data, DropPlace place)
{
    const QList<QUrl> urls = data.urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    const QFileInfo file(urls.first().toLocalFile());
    if (file.isDir() && place == DropPlace::FolderRow)
        return {DropKind::Folder, file.absoluteFilePath()};
    if (file.isFile() && hasVideoFileExtension(file.fileName()))
        return {DropKind::Video, file.absoluteFilePath()};
    return {};
}

bool AnswerDrop(QDropEvent& event, const DroppedItem& item)
{
    if (item.kind == DropKind::Refused || !(event.possibleActions() & Qt::CopyAction)) {
        event.ignore();
        return false;
    }
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return true;
}
