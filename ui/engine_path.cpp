#include "ui/engine_path.h"

#include "ui/message_box.h"

#include <QCoreApplication>

bool isPassablePath(const QString& path)
{
    return !path.contains(QChar::ReplacementCharacter);
}

void tellUnpassablePath(QWidget* parent, const QString& path)
{
    ShowMessage(parent,
                QCoreApplication::translate(
                    "EnginePath", "Sorry, the name %1 is not UTF-8 text, so the windows "
                                  "can't pass it on. Please rename it, or use clipmint-cli.")
                    .arg(path));
}
