#include "ui/view_first_image.h"

#include "batch/srch_dir.h"
#include "desktop/shell.h"
#include "image/image_format.h"
#include "ui/engine_path.h"
#include "ui/message_box.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>

bool ViewImage(QWidget* parent, const QString& imagePath, const QString& viewerPath,
               const ShellLauncher& launcher)
{
    const QPointer<QWidget> owner(parent);
    const auto tell = [owner, imagePath] {
        ShowMessage(owner, QCoreApplication::translate(
                               "ViewFirstImage",
                               "Sorry, nothing on this desktop could open %1. Please choose an "
                               "image viewer in the Option dialog, or set one up for the desktop.")
                               .arg(imagePath));
    };
    if (OpenInViewer(imagePath, viewerPath, launcher, tell))
        return true;
    tell();
    return false;
}

bool ViewFirstImage(QWidget* parent, const QString& folder, const QString& viewerPath,
                    const ShellLauncher& launcher)
{
    // PNG images come last, so that a folder holding JPEG or BMP images shows the same image
    // as it always did.
    CSrchDirFirstFile search;
    const std::optional<std::string> image =
        search.FindFirstMatch(enginePath(folder), ImageFormatPatterns(), SearchDepth::FolderOnly);
    if (!image) {
        ShowMessage(parent, QCoreApplication::translate(
                                "ViewFirstImage",
                                "Sorry, no viewable file was found in the target folder."));
        return false;
    }
    return ViewImage(parent, displayPath(*image), viewerPath, launcher);
}
