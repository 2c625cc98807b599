#pragma once

#include <QMargins>
#include <QSize>

// What the screen leaves for the video window's picture, in logical pixels: the screen's
// available area, less the window's own frame (title bar and borders) and the control panel's
// outer height beneath the window.
struct ViewRoom
{
    QSize screenArea;
    int panelHeight = 0;
    QMargins windowFrame;

    bool operator==(const ViewRoom&) const = default;
};

// The logical size left for the picture; never less than one pixel each way.
QSize PictureRoom(const ViewRoom& room);

// The scale from image pixels to device pixels at which frames of frameSize are shown to fit:
// 1 when the frame fits the room with one image pixel on each device pixel, otherwise the
// largest scale below 1 that fits it, both ways alike.
double FitScale(const ViewRoom& room, QSize frameSize, double devicePixelRatio);

// The device pixels a frame shown at scale covers: its image pixels times scale, rounded down.
QSize ShownPixels(QSize frameSize, double scale);
// The logical size of a frame shown at scale: ShownPixels divided by the ratio, rounded up.
QSize ShownSize(QSize frameSize, double scale, double devicePixelRatio);

// The scale as the window's title gives it, in whole percent.
int ScalePercent(double scale);
