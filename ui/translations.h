#pragma once

#include <QStringList>

class QLocale;
class QTranslator;

// The folders the program's own files are looked for in, in order: beside the executable (a
// build tree, or a program unpacked in one folder), then the folder `cmake --install` fills.
QStringList programDataFolders();

// Installs the translation of the windows' texts for locale, from the folder "translations" of
// the first of folders that has one, and returns it (the application owns it). Null when there
// is none for the locale, as for English, which the texts are written in. Qt's own translation
// for the same locale comes with it, when Qt has one, so that the standard dialogs and buttons
// speak the same language; it is a child of the one returned, and deleting that removes both.
// Without a translation of ours Qt's stays out too, and the windows speak English throughout.
QTranslator* installTranslation(const QLocale& locale,
                                const QStringList& folders = programDataFolders());
