#include "player/view_scale.h"

#include <algorithm>
#include <cmath>

QSize PictureRoom(const ViewRoom& room)
{
    const QMargins& frame = room.windowFrame;
    return QSize(
        std::max(room.screenArea.width() - frame.left() - frame.right(), 1),
        std::max(room.screenArea.height() - frame.top() - frame.bottom() - room.panelHeight, 1));
}

double FitScale(const ViewRoom& room, QSize frameSize, double devicePixelRatio)
{
    if (frameSize.isEmpty() || devicePixelRatio <= 0)
        return 1;
    // The room in device pixels, against which the frame's image pixels are measured.
    const QSize picture = PictureRoom(room);
    const double width = picture.width() * devicePixelRatio;
    const double height = picture.height() * devicePixelRatio;
    return std::min({1.0, width / frameSize.width(), height / frameSize.height()});
}

QSize ShownPixels(QSize frameSize, double scale)
{
    // The small allowance keeps a scale computed as room / frame from losing a pixel.
    const auto scaled = [scale](int pixels) {
        return std::max(static_cast<int>(std::floor(pixels * scale + 1e-6)), 1);
    };
    return QSize(scaled(frameSize.width()), scaled(frameSize.height()));
}

QSize ShownSize(QSize frameSize, double scale, double devicePixelRatio)
{
    const QSize pixels = ShownPixels(frameSize, scale);
    const auto logical = [devicePixelRatio](int devicePixels) {
        return static_cast<int>(std::ceil(devicePixels / devicePixelRatio - 1e-9));
    };
    return QSize(logical(pixels.width()), logical(pixels.height()));
}

int ScalePercent(double scale)
{
    // Rounded down, so that a picture a little smaller than full size never says 100%.
    return std::max(static_cast<int>(std::floor(scale * 100 + 1e-6)), 1);
}
