#pragma once

#include <QString>
#include <QVariant>

namespace tolvimar {

struct MilitaryUnitRow;

// The texts of a unit's fields in the military records.

// A talent per person ("[points per person] level"); filler when the field is empty.
// Throws UserError naming the unit and the field when the talent holds no number.
QString talentText(const MilitaryUnitRow &unit, int base, const QString &field,
    const QString &talent, const QString &filler = QString());
// The UserError of a talent that holds no number, naming the unit and the field.
[[noreturn]] void talentWithoutNumber(const QString &unitName, int unitNumber,
    const QString &position, int base, const QString &field, const QString &talent);
// A count in decimal; filler when the field is empty.
QString countText(const QVariant &value, const QString &filler = QString());

} // namespace tolvimar
