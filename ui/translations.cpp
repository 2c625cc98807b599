#include "ui/translations.h"

#include "clipmint_build.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace {

// Qt's own translation of its standard dialogs and buttons (the file dialogs, the buttons of
// message boxes, the context menus of text boxes), from the folder Qt keeps them in. It is a
// child of owner, so that it goes when owner goes and the two languages never part.
void installQtTranslation(const QLocale& locale, QTranslator* owner)
{
    auto* translator = new QTranslator(owner);
    if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace

QStringList programDataFolders()
{
    return {QCoreApplication::applicationDirPath(), QString::fromUtf8(kClipmintDataFolder)};
}

QTranslator* installTranslation(const QLocale& locale, const QStringList& folders)
{
    for (const QString& folder : folders) {
        // Lives as long as the application, which keeps using it.
        auto* translator = new QTranslator(QCoreApplication::instance());
        if (translator->load(locale, QStringLiteral("clipmint"), QStringLiteral("_"),
                             QDir(folder).filePath(QStringLiteral("translations")))) {
            QCoreApplication::installTranslator(translator);
            installQtTranslation(locale, translator);
            return translator;
        }
        delete translator;
    }
    return nullptr;
}
