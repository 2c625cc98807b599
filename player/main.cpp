// clipmint: the windows over the engine.

#include "clipmint_build.h"
#include "platform/memory_tuning.h"
#include "player/player_app.h"
#include "ui/translations.h"
#include "ui/ui_resources.h"
#include "video/video_library.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QIcon>
#include <QLocale>

#include <cstdio>
#include <string>

namespace {

// The bytes of the argument that Qt read as text. A file name that is not UTF-8 reaches Qt with
// replacement characters for its stray bytes; only the argument itself still names the file.
std::string rawArgument(int argc, char** argv, const QString& text)
{
    for (int i = 1; i < argc; ++i) {
        if (QFile::decodeName(argv[i]) == text)
            return argv[i];
    }
    return QFile::encodeName(text).toStdString();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(QString::fromLatin1(kClipmintVersion));
    // Matches the desktop entry, so that a desktop shows the entry's name and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("clipmint"));
    initUiResources();
    installTranslation(QLocale::system());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/clipmint.svg")));
    SetVideoLibraryMessages(VideoLibraryMessages::Hidden);
    KeepFreedImageMemory();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Takes still images out of video files."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("video"), QStringLiteral("A video to open."),
                                 QStringLiteral("[VIDEO]"));
    parser.process(application);
    const QStringList videos = parser.positionalArguments();
    if (videos.size() > 1) {
        std::fputs("clipmint: one video at a time\n", stderr);
        return 2;
    }

    CPlayerApp player(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
    if (!player.InitInstance(videos.isEmpty() ? std::string() : rawArgument(argc, argv, videos[0])))
        return 1;
    return QApplication::exec();
}
