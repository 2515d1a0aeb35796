#include "tileset.h"

using namespace Qt::StringLiterals;

namespace tolvimar {

TileSet::TileSet(QString blankFile, const QList<std::pair<QString, QString>> &table)
    : m_blankFile(std::move(blankFile))
{
    for (const auto &[terrain, file] : table) {
        m_terrains.append(terrain);
        m_files.insert(terrain, file);
    }
}

const TileSet &TileSet::world()
{
    // "Desert" is what the manual region entry stores for "Wüste"; the other four
    // terrains below the classic table occur in real reports.
    static const TileSet set(u"wblank.bmp"_s,
        {
            {u"Ozean"_s, u"wozean.bmp"_s},
            {u"Ebene"_s, u"webene.bmp"_s},
            {u"Hochland"_s, u"whochl.bmp"_s},
            {u"Gletscher"_s, u"wgletscher.bmp"_s},
            {u"Berge"_s, u"wgebirge.bmp"_s},
            {u"Sumpf"_s, u"wsumpf.bmp"_s},
            {u"Wald"_s, u"wwald.bmp"_s},
            {u"Wueste"_s, u"wwüste.bmp"_s},
            {u"Wüste"_s, u"wwüste.bmp"_s},
            {u"Feuerwand"_s, u"wflamm.bmp"_s},
            {u"Eisberg"_s, u"weisberg.bmp"_s},
            {u"Desert"_s, u"wwüste.bmp"_s},
            {u"Vulkan"_s, u"wvulkan.bmp"_s},
            {u"Aktiver Vulkan"_s, u"waktvulkan.bmp"_s},
            {u"Nebel"_s, u"wnebel.bmp"_s},
            {u"Dichter Nebel"_s, u"wdnebel.bmp"_s},
        });
    return set;
}

const TileSet &TileSet::small()
{
    static const TileSet set(u"blank.bmp"_s,
        {
            {u"Ozean"_s, u"ozean.bmp"_s},
            {u"Ebene"_s, u"ebene.bmp"_s},
            {u"Hochland"_s, u"hochl.bmp"_s},
            {u"Gletscher"_s, u"gletscher.bmp"_s},
            {u"Berge"_s, u"gebirge.bmp"_s},
            {u"Sumpf"_s, u"sumpf.bmp"_s},
            {u"Wald"_s, u"wald.bmp"_s},
            {u"Wueste"_s, u"wüste.bmp"_s},
            {u"Wüste"_s, u"wüste.bmp"_s},
            {u"Feuerwand"_s, u"flamm.bmp"_s},
            {u"Eisberg"_s, u"eisberg.bmp"_s},
            {u"Desert"_s, u"wüste.bmp"_s},
            {u"Vulkan"_s, u"vulkan.bmp"_s},
            {u"Aktiver Vulkan"_s, u"aktvulkan.bmp"_s},
            {u"Nebel"_s, u"nebel.bmp"_s},
            {u"Dichter Nebel"_s, u"dnebel.bmp"_s},
        });
    return set;
}

QString TileSet::fileFor(const QString &terrain) const
{
    return m_files.value(terrain);
}

QString TileSet::choose(const QString &terrain, const QString &previous) const
{
    const auto found = m_files.constFind(terrain);
    if (found != m_files.cend())
        return *found;
    return previous.isEmpty() ? m_blankFile : previous;
}

QStringList TileSet::files() const
{
    QStringList result;
    for (const QString &terrain : m_terrains) {
        const QString file = m_files.value(terrain);
        if (!result.contains(file))
            result.append(file);
    }
    result.append(m_blankFile);
    return result;
}

} // namespace tolvimar
