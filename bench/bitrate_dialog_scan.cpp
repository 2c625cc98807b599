// Times the Bitrate dialog on a video without a screen: the open (the dialog's construction),
// the first run from the dialog's appearance to its end, and the longest time the run left the
// event queue unattended, which is how long a Stop, Save or Close could wait.

#include "bitrate/bitrate_dlg.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bitrate_dialog_scan VIDEO\n");
        return 2;
    }
    char platform[] = "-platform";
    char offscreen[] = "offscreen";
    char* arguments[] = {argv[0], platform, offscreen, nullptr};
    int count = 3;
    QApplication application(count, arguments);

    QElapsedTimer clock;
    clock.start();
    CBitrateDlg dialog{std::string(argv[1])};
    const double opened = clock.nsecsElapsed() / 1e9;
    if (!dialog.source().isOpen()) {
        std::fprintf(stderr, "bitrate_dialog_scan: can't open %s\n", argv[1]);
        return 1;
    }

    // A timer that is due all the time fires at every drain of the event queue.
    QElapsedTimer sinceDrain;
    qint64 longestGap = 0;
    QTimer drains;
    QObject::connect(&drains, &QTimer::timeout, [&] {
        longestGap = std::max(longestGap, sinceDrain.nsecsElapsed());
        sinceDrain.start();
    });
    const auto* start = dialog.findChild<QPushButton*>(QStringLiteral("startButton"));
    clock.start();
    sinceDrain.start();
    drains.start(0);
    dialog.show();
    while (start->isEnabled())
        QCoreApplication::processEvents();
    const double scanned = clock.nsecsElapsed() / 1e9;
    std::printf("open %.3f s, scan %.3f s, longest wait for events %.1f ms\n", opened, scanned,
                longestGap / 1e6);
    return 0;
}
