#include "bitrate_test_suites.h"
#include "video/video_library.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    SetVideoLibraryMessages(VideoLibraryMessages::Hidden);
    int failed = 0;
    for (auto run : {runChartLayersTests, runBitrateDlgTests})
        failed += run(argc, argv) != 0 ? 1 : 0;
    return failed == 0 ? 0 : 1;
}
