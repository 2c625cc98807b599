#include "ui/translations.h"

#include "clipmint_build.h"

#include <QCoreApplication>
#include <QDir>
#include <QLocale>
#include <QTranslator>

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
            return translator;
        }
        delete translator;
    }
    return nullptr;
}
