#pragma once

#include "desktop/shell_launcher.h"
#include "ui/translations.h"

#include <QString>
#include <QStringList>

class QWidget;

// The user guide: one HTML page, with its pictures in the folder "clipmint-guide" beside it.
inline constexpr char kHelpFileName[] = "clipmint.htm";

// The guide's path in the first of folders that holds it; empty when none does.
QString FindHelpFile(const QStringList& folders);

// The Help command: opens the guide with the desktop's browser, or tells the user that it is
// missing, or, when nothing could open it, where it is, so that it can be opened by hand.
void OpenHelpFile(QWidget* parent, const QStringList& folders = programDataFolders(),
                  const ShellLauncher& launcher = ShellLauncher());
