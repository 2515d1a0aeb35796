#include "fieldtexts.h"

#include "../base/errors.h"
#include "../base/identifiers.h"
#include "../db/militaryqueries.h"

namespace tolvimar {

QString talentText(const MilitaryUnitRow &unit, int base, const QString &field,
    const QString &talent, const QString &filler)
{
    if (talent.isEmpty())
        return filler;
    try {
        return formatTalent(talent, unit.persons.toInt());
    } catch (const ConversionError &) {
        talentWithoutNumber(unit.name, unit.number, unit.position, base, field, talent);
    }
}

void talentWithoutNumber(const QString &unitName, int unitNumber, const QString &position, int base,
    const QString &field, const QString &talent)
{
    throw UserError(QStringLiteral("Einheit %1 (Nr. %2) in %3: das Talent %4 hat keinen "
                                   "Zahlenwert: \"%5\".")
                        .arg(unitName, idToStr(unitNumber, base), position, field, talent));
}

QString countText(const QVariant &value, const QString &filler)
{
    const QString text = value.toString();
    return text.isEmpty() ? filler : text;
}

} // namespace tolvimar
