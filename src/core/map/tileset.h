#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

namespace tolvimar {

// The terrain tiles of one map: which bitmap of the images folder draws which
// terrain. World map tiles fit its 8-pixel pitch, small map tiles its 29-pixel pitch.
class TileSet
{
public:
    static const TileSet &world();
    static const TileSet &small();

    // The tile of a terrain by exact, case-sensitive name; empty when no table row
    // lists it.
    QString fileFor(const QString &terrain) const;
    // The neutral tile: "wblank.bmp" (the world map's background) or "blank.bmp" (a
    // small map cell without a region).
    const QString &blankFile() const { return m_blankFile; }
    // The tile of the next cell drawn: an unknown terrain keeps the tile of the cell
    // drawn before it, and the neutral tile when there is none yet (empty previous).
    QString choose(const QString &terrain, const QString &previous) const;

    // Every file of the set, the neutral tile included, each once.
    QStringList files() const;
    // The terrain names the set knows, in table order.
    const QStringList &terrains() const { return m_terrains; }

private:
    TileSet(QString blankFile, const QList<std::pair<QString, QString>> &table);

    QString m_blankFile;
    QStringList m_terrains;
    QHash<QString, QString> m_files;
};

} // namespace tolvimar
