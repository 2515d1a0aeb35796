#pragma once

#include <QImage>
#include <QString>

namespace tolvimar {

// Pictures as files. A picture is written whole or not at all: the image writer's
// error and the disk's are both looked at before the file replaces the previous one.
// Reading takes pictures up to a given number of pixels, so that a picture this
// program may write can always be read again.

// Throws UserError naming the file and the reason; the previous file then stays.
void writeImageFile(const QString &path, const QImage &image, const char *format);

// Throws UserError naming the file (what: "Die Weltkarte") when it cannot be read or
// has more pixels.
QImage readImageFile(const QString &path, qint64 maxPixels, const QString &what);

} // namespace tolvimar
