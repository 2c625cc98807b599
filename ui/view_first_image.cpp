#include "ui/view_first_image.h"

#include "batch/srch_dir.h"
#include "platform/message_box.h"
#include "platform/shell.h"

#include <QFile>

bool ViewFirstImage(QWidget* parent, const QString& folder, const QString& viewerPath,
                    const ShellLauncher& launcher)
{
    CSrchDirFirstFile search;
    const std::optional<std::string> image = search.FindFirstMatch(
        QFile::encodeName(folder).toStdString(), "*.jpg;*.bmp", SearchDepth::FolderOnly);
    if (!image) {
        ShowMessage(parent, QString::fromUtf8("抱歉，在目标目录中找不到可查看的文件。"));
        return false;
    }
    return OpenInViewer(QFile::decodeName(QByteArray::fromStdString(*image)), viewerPath, launcher);
}
