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
#include <string_view>

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

// The options and the argument, alike for the help and for a run. Returns the version option,
// which is answered by hand so that it can carry the licence.
QCommandLineOption describeCommandLine(QCommandLineParser& parser)
{
    parser.setApplicationDescription(QStringLiteral("Takes still images out of video files."));
    parser.addHelpOption();
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Displays version information."));
    parser.addOption(version);
    parser.addPositionalArgument(QStringLiteral("video"), QStringLiteral("A video to open."),
                                 QStringLiteral("[VIDEO]"));
    return version;
}

// The help and the version need no screen, so they are answered before the windows'
// application, which can't start without one, exists.
bool asksForText(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--")
            return false;
        if (word == "-h" || word == "--help" || word == "-v" || word == "--version")
            return true;
    }
    return false;
}

int printText(int argc, char** argv)
{
    QCoreApplication core(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption version = describeCommandLine(parser);
    // Qt's own options (-platform and the like) are unknown here, and need not be known.
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(QStringLiteral("help")))
        std::fputs(qPrintable(parser.helpText()), stdout);
    else
        std::printf("clipmint %s\n%s", kClipmintVersion, kClipmintLicenceNotice);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (asksForText(argc, argv))
        return printText(argc, argv);
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
    describeCommandLine(parser);
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
