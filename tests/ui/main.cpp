#include "ui/ui_resources.h"
#include "ui_test_suites.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    initUiResources();
    int failed = 0;
    for (auto run : {runAboutBoxTests, runBatchDialogTests, runCaptionLabelTests, runIconTests,
                     runMessageBoxTests, runSelectFolderDialogTests, runViewFirstImageTests})
        failed += run(argc, argv) != 0 ? 1 : 0;
    return failed == 0 ? 0 : 1;
}
