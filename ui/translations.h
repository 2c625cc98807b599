#pragma once

#include <QStringList>

class QLocale;
class QTranslator;

// The folders the program's own files are looked for in, in order: beside the executable (a
// build tree, or a program unpacked in one folder), then the folder `cmake --install` fills.
QStringList programDataFolders();

// Installs the translation of the windows' texts for locale, from the folder "translations" of
// the first of folders that has one, and returns it (the application owns it). Null when there
// is none for the locale, as for English, which the texts are written in.
QTranslator* installTranslation(const QLocale& locale,
                                const QStringList& folders = programDataFolders());
