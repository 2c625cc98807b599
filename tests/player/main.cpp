#include "player_test_suites.h"
#include "ui/ui_resources.h"
#include "video/video_library.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Each test closes its own windows; the application outlives them all.
    QApplication::setQuitOnLastWindowClosed(false);
    initUiResources();
    SetVideoLibraryMessages(VideoLibraryMessages::Hidden);
    int failed = 0;
    for (auto run :
         {runStartUpTests, runCommandTests, runRecordingTests, runFrameSliderTests,
          runParameterTests, runDialogTests, runViewTests, runOpeningTests, runTranslationTests})
        failed += run(argc, argv) != 0 ? 1 : 0;
    return failed == 0 ? 0 : 1;
}
