#pragma once

#include "bitrate/frame_series.h"

#include <QImage>
#include <QSize>

// The chart of every frame's stored bytes: one bar a frame against its number, coloured by its
// picture type (I, P and B; a sprite picture as P, an unknown type grey), a mark above each key
// frame, the mean over the second before each frame as a line, and the key frame intervals in
// the legend. Where there are more frames than pixels across, a pixel column shows its largest
// frame. Drawn at any size, in the colours of the per-second chart.
QImage DrawFrameChart(const FrameSeries& series, QSize size);
