#include "imagefile.h"

#include "base/errors.h"
#include "base/filebatch.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>

namespace tolvimar {

void writeImageFile(const QString &path, const QImage &image, const char *format)
{
    // A PNG is made in memory first: the PNG library gives up a write error with a jump
    // that leaks Qt's buffer, and the pictures written this way are small.
    if (qstrcmp(format, "PNG") == 0) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, format);
        if (!writer.write(image))
            throw UserError(QStringLiteral("Das Bild %1 kann nicht erzeugt werden: %2")
                                .arg(QDir::toNativeSeparators(path), writer.errorString()));
        writeFileAtomically(path, bytes);
        return;
    }
    writeFileAtomically(path, [&](QIODevice &device) {
        QImageWriter writer(&device, format);
        return writer.write(image) ? QString() : writer.errorString();
    });
}

QImage readImageFile(const QString &path, qint64 maxPixels, const QString &what)
{
    const QString shown = QDir::toNativeSeparators(path);
    QImageReader reader(path);
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() > maxPixels)
        throw UserError(QStringLiteral("%1 %2 ist mit %3 × %4 Pixeln zu groß: gelesen werden "
                                       "Bilder bis %5 Millionen Pixel.")
                            .arg(what, shown)
                            .arg(size.width())
                            .arg(size.height())
                            .arg(maxPixels / 1000000));
    // Qt refuses pictures past its own limit (128 MB); the caller's limit is the one
    // that counts, at four bytes a pixel.
    const int neededMb = int((maxPixels * 4 + (1 << 20) - 1) >> 20) + 1;
    if (QImageReader::allocationLimit() != 0 && QImageReader::allocationLimit() < neededMb)
        QImageReader::setAllocationLimit(neededMb);
    QImage image = reader.read();
    if (image.isNull())
        throw UserError(QStringLiteral("%1 %2 kann nicht gelesen werden: %3")
                            .arg(what, shown, reader.errorString()));
    return image;
}

} // namespace tolvimar
