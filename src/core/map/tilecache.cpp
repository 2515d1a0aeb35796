#include "tilecache.h"

#include "base/errors.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

namespace tolvimar {

TileCache::TileCache(QString imagesDir)
    : m_imagesDir(std::move(imagesDir))
{
}

const MapTile &TileCache::tile(const QString &fileName)
{
    const auto found = m_tiles.find(fileName);
    if (found != m_tiles.end())
        return found->second;
    const QString path = QDir(m_imagesDir).filePath(fileName);
    if (!QFileInfo(path).isFile())
        throw UserError(
            QStringLiteral("Die Kartengrafik %1 fehlt.").arg(QDir::toNativeSeparators(path)));
    QImageReader reader(path);
    const QImage image = reader.read();
    if (image.isNull())
        throw UserError(QStringLiteral("Die Kartengrafik %1 kann nicht gelesen werden: %2")
                            .arg(QDir::toNativeSeparators(path), reader.errorString()));
    return m_tiles.emplace(fileName, MapTile(image)).first->second;
}

} // namespace tolvimar
