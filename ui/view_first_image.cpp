#include "ui/view_first_image.h"

#include "batch/srch_dir.h"
#include "ui/engine_path.h"
#include "ui/message_box.h"
#include "ui/shell.h"

#include <QCoreApplication>

bool ViewFirstImage(QWidget* parent, const QString& folder, const QString& viewerPath,
                    const ShellLauncher& launcher)
{
    // PNG images come last, so that a folder holding JPEG or BMP images shows the same image
    // as it always did.
    CSrchDirFirstFile search;
    const std::optional<std::string> image =
        search.FindFirstMatch(enginePath(folder), "*.jpg;*.bmp;*.png", SearchDepth::FolderOnly);
    if (!image) {
        ShowMessage(parent, QCoreApplication::translate(
                                "ViewFirstImage",
                                "Sorry, no viewable file was found in the target folder."));
        return false;
    }
    return OpenInViewer(displayPath(*image), viewerPath, launcher);
}
