#include "blocklines.h"
#include "importcontext.h"

#include <QSet>

namespace tolvimar {

bool isKnownBlockTag(QStringView tag)
{
    static const QSet<QStringView> known {
        // header, sections and messages before the first region
        u"VERSION",
        u"PARTEI",
        u"FEHLER",
        u"WARNUNGEN",
        u"KAEMPFE",
        u"MELDUNGEN",
        u"EREIGNISSE",
        u"EINKOMMEN",
        u"HANDEL",
        u"PRODUKTION",
        u"BEWEGUNGEN",
        u"BATTLE",
        u"MESSAGE",
        u"ALLIIERTE",
        u"ADRESSEN",
        u"ALLIANZ",
        // regions and what stands in them
        u"REGION",
        u"DURCHREISEREGION",
        u"PREISE",
        u"GRENZE",
        u"UMGEBUNG",
        u"DURCHREISE",
        u"DURCHSCHIFFUNG",
        u"REGIONSEREIGNISSE",
        u"REGIONSKOMMENTAR",
        u"REGIONSNACHRICHTEN",
        u"REGIONSBOTSCHAFTEN",
        u"BURG",
        u"SCHIFF",
        // units
        u"EINHEIT",
        u"COMMANDS",
        u"TALENTE",
        u"SPRUECHE",
        u"GEGENSTAENDE",
        u"EINHEITSBOTSCHAFTEN",
    };
    return known.contains(tag);
}

void ImportContext::skipBlock()
{
    skippedBlocks.add(blockTag(line()));
    for (++cursor; !atEnd() && !isBlockHeader(line()); ++cursor) { }
}

void ImportContext::skipForeignBlocks()
{
    while (!atEnd()) {
        const QStringView tag = blockTag(line());
        if (tag.isEmpty() || isKnownBlockTag(tag))
            return;
        skipBlock();
    }
}

bool ImportContext::atBlockEnd(std::initializer_list<QStringView> continuing)
{
    skipForeignBlocks();
    if (atEnd())
        return true;
    const QStringView tag = blockTag(line());
    if (tag.isEmpty())
        return false;
    for (QStringView c : continuing) {
        if (tag == c)
            return false;
    }
    return true;
}

bool ImportContext::atBlock(QStringView tag)
{
    skipForeignBlocks();
    return !atEnd() && blockTag(line()) == tag;
}

} // namespace tolvimar
