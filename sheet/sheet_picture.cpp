#include "sheet/sheet_picture.h"

#include "bitrate/chart_picture.h"
#include "image/dib_image.h"
#include "video/frame_export.h"
#include "video/screen_picture.h"
#include "video/video_reader.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <cstdio>

namespace {

const QColor kBackground(32, 32, 32);
const QColor kText(230, 230, 230);
const QColor kMissing(64, 64, 64);

QFont sheetFont(int width)
{
    QFont font(QStringLiteral("sans-serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(11, width / 120));
    return font;
}

// "01:02:03.456".
QString durationText(std::chrono::nanoseconds duration)
{
    const long long milliseconds = std::max<long long>(duration.count(), 0) / 1000000;
    return QString::asprintf("%02lld:%02lld:%02lld.%03lld", milliseconds / 3600000,
                             milliseconds / 60000 % 60, milliseconds / 1000 % 60,
                             milliseconds % 1000);
}

QString sizeText(std::int64_t bytes)
{
    if (bytes < 0)
        return QStringLiteral("unknown");
    return QString::asprintf("%.1f MiB (%lld bytes)", double(bytes) / (1024.0 * 1024.0),
                             static_cast<long long>(bytes));
}

// The header's lines: the file's name, then its facts.
QStringList headerLines(const SheetHeader& header)
{
    const QString facts =
        QStringLiteral("Size: %1    Duration: %2    Frame size: %3x%4    Codec: %5    "
                       "Bitrate: %6 kbps")
            .arg(sizeText(header.fileBytes), durationText(header.duration))
            .arg(header.width)
            .arg(header.height)
            .arg(QString::fromStdString(header.codec))
            .arg(header.kilobitsPerSecond);
    return {QString::fromStdString(header.fileName), facts};
}

QRect rectOf(const SheetRect& rect)
{
    return {rect.x, rect.y, rect.width, rect.height};
}

void drawCell(QPainter& painter, const SheetLayout& layout, const SheetCell& cell)
{
    const QRect place = rectOf(layout.picture(cell.index));
    if (cell.picture) {
        const QImage frame(cell.picture->pixels(), cell.picture->width(), cell.picture->height(),
                           cell.picture->stride(), QImage::Format_RGB32);
        painter.drawImage(place, frame);
    } else {
        painter.fillRect(place, kMissing);
    }
    painter.drawText(rectOf(layout.label(cell.index)), Qt::AlignLeft | Qt::AlignVCenter,
                     QString::fromStdString(cell.text));
}

} // namespace

Result<QImage> DrawContactSheet(VideoReader& reader, const SheetGrid& grid)
{
    ContactSheet sheet(reader, grid);
    if (sheet.frames().empty())
        return Error{Failure::NoFrames, reader.facts().path};
    const QFont font = sheetFont(grid.width);
    const QStringList header = headerLines(sheet.header());
    const int lineHeight = QFontMetrics(font).height();
    const VideoFacts& video = reader.facts();
    const Result<SheetLayout> laidOut =
        LayOutSheet(grid, static_cast<int>(sheet.frames().size()), video.width, video.height,
                    lineHeight, static_cast<int>(header.size()));
    if (!laidOut)
        return laidOut.error();
    const SheetLayout& layout = *laidOut;

    QImage picture(layout.width, layout.height, QImage::Format_RGB32);
    if (picture.isNull())
        return Error{Failure::SheetTooLarge,
                     {},
                     0,
                     {},
                     {std::to_string(layout.width) + "x" + std::to_string(layout.height)}};
    picture.fill(kBackground);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(kText);
    QFont bold = font;
    bold.setBold(true);
    for (int line = 0; line < header.size(); ++line) {
        painter.setFont(line == 0 ? bold : font);
        const QRect place(layout.header.x, layout.header.y + line * lineHeight, layout.header.width,
                          lineHeight);
        painter.drawText(
            place, Qt::AlignLeft | Qt::AlignVCenter,
            QFontMetrics(painter.font()).elidedText(header[line], Qt::ElideMiddle, place.width()));
    }
    painter.setFont(font);
    while (!sheet.finished())
        drawCell(painter, layout, sheet.next(layout.cellWidth, layout.pictureHeight));
    painter.end();
    return picture;
}

Outcome SaveContactSheet(const QImage& sheet, ImageFormat format, const std::string& path,
                         int quality)
{
    CDibImage image;
    if (!DibImageOfPicture(sheet, image) || !image.ConvertTo24Bit())
        return Error{Failure::EmptyPicture, path};
    return SaveImage(format, path, image, quality);
}
