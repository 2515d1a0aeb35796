#include "regiondetail.h"

#include "../base/identifiers.h"
#include "../base/position.h"

#include <QHash>
#include <QRegularExpression>

namespace tolvimar {

namespace {

using namespace Qt::StringLiterals;

// An entry of the unit list with the number text its inhabitants name it by, so that
// they find their castle or ship by number and never by a look at a name that happens
// to hold a bracket.
struct Listed
{
    ListEntry entry;
    QString numberText;
};

// An empty field reads as empty text, a number as decimal.
QString fieldText(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

qint64 fieldValue(const QVariant &value)
{
    return value.isNull() ? 0 : value.toLongLong();
}

bool equalsTurn(const QVariant &infoDatum, qint64 turn)
{
    return !infoDatum.isNull() && infoDatum.toLongLong() == turn;
}

QString castleLine(const CastleRow &c, const QString &id)
{
    return u"-Burg : "_s + c.name + u", "_s + c.type + u", größe: "_s + fieldText(c.size) + u" ("_s
        + id + u")"_s;
}

QString shipLine(const ShipRow &s, const QString &id)
{
    const qint64 percent = fieldValue(s.percent);
    const QString head = u"-Schiff : "_s + s.name + u", "_s + s.type;
    if (percent > 0 && percent < 100)
        return head + u", zu "_s + QString::number(percent) + u"% fertig. ["_s + id + u"]"_s;
    const QString load = u" ["_s + id + u"]"_s + u", Ladung: "_s + fieldText(s.load) + u"/"_s
        + fieldText(s.maxLoad);
    if (percent < 0)
        return head + load + u", Schäden: "_s + QString::number(-percent) + u"% ,"_s + s.coast;
    return head + load + u" ,"_s + s.coast;
}

QString unitLine(const UnitRow &u, const QString &id, bool inside, bool marked)
{
    QString prefix;
    if (inside)
        prefix = marked ? u"      *       "_s : u"              "_s;
    else
        prefix = marked ? u" *  "_s : u"    "_s;
    return prefix + u.name + u" ("_s + id + u") "_s + u", "_s + u.race;
}

void addTo(qint64 &sum, const QVariant &value)
{
    sum += fieldValue(value);
}

// The surroundings text is stored with CR LF between its lines and code 22 after
// each line of a report's environment block; the memo shows each as a line.
QString surroundingsLines(const QString &surroundings)
{
    static const QRegularExpression breaks(u"\r\n|\r|\n|\x16"_s);
    QStringList lines = surroundings.split(breaks);
    while (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines.join(u'\n');
}

QList<QStringList> historyGrid(const QVector<HistoryRow> &rows)
{
    QList<QStringList> grid;
    grid.append({u"Datum"_s, u"Bäume"_s, u"Eisen"_s, u"Laen"_s, u"Mallorn"_s, u"Bauern"_s,
        u"Pferde"_s, u"Bauern Silber"_s});
    const auto orZero = [](const QVariant &v) { return v.isNull() ? u"0"_s : v.toString(); };
    for (const HistoryRow &h : rows) {
        grid.append({fieldText(h.date), fieldText(h.wood), orZero(h.iron), orZero(h.laen),
            orZero(h.mallorn), fieldText(h.peasants), fieldText(h.horses),
            fieldText(h.peasantSilver)});
    }
    return grid;
}

} // namespace

QList<std::pair<QString, qint64>> PropertySums::boxes() const
{
    return {{u"Silber"_s, silver}, {u"Leute"_s, persons}, {u"Holz"_s, wood}, {u"Stein"_s, stone},
        {u"Eisen"_s, iron}, {u"Lean"_s, laen}, {u"Mallorn"_s, mallorn}};
}

QStringList RegionView::unitLines() const
{
    QStringList lines;
    lines.reserve(units.size());
    for (const ListEntry &e : units)
        lines.append(e.text);
    return lines;
}

QStringList PropertySums::goodsLines() const
{
    return {u"Pferde    : "_s + QString::number(horses), u"Wagen     : "_s + QString::number(carts),
        QString(), u"Speer     : "_s + QString::number(spears),
        u"Schwert   : "_s + QString::number(swords), u"Bogen     : "_s + QString::number(bows)};
}

RegionDetail::RegionDetail(Database &db)
    : m_queries(db)
{
}

RegionView RegionDetail::regionView(
    const ActiveGame &game, int x, int y, const RegionSelection &selection)
{
    RegionView view;
    const QString plain = positionText(x, y);
    const QString onLevel = plain + u'/' + QString::number(selection.level);
    const auto shownNumber = [&](qint64 n) { return numberText(n, game.type, game.base); };

    view.region = m_queries.regionRow(game.number, x, y, selection.level);
    view.found = view.region.has_value();
    if (view.found) {
        view.caption = view.region->name + u"  "_s + plain;
        view.shownRegion = Position {x, y, selection.level};
        view.surroundings = surroundingsLines(view.region->surroundings);
    } else {
        view.caption = u"Keine Informationen über Region"_s;
        view.shownRegion = selection.previousRegion;
    }

    QList<Listed> list;
    // Castles only from the newest turn, whatever the check boxes say.
    for (const CastleRow &c : m_queries.castlesAt(game.number, plain, onLevel)) {
        if (!equalsTurn(c.infoDatum, game.newestTurn))
            continue;
        const QString id = shownNumber(c.number);
        list.append({{ListEntryKind::Castle, c.number, castleLine(c, id)}, id});
    }
    for (const ShipRow &s : m_queries.shipsAt(game.number, plain, onLevel)) {
        if (selection.currentOnly && !equalsTurn(s.infoDatum, game.newestTurn))
            continue;
        const QString id = shownNumber(s.number);
        list.append({{ListEntryKind::Ship, s.number, shipLine(s, id)}, id});
    }

    // A region without a row lists no units: the units stored under the previous
    // position text belong to another region, even where the coordinates agree.
    const QVector<UnitRow> units = view.found
        ? m_queries.unitsAt(game.number, positionText(*view.shownRegion))
        : QVector<UnitRow>();
    QHash<int, QString> factionNames;
    PropertySums &sums = view.property;
    for (const UnitRow &u : units) {
        const bool own = !u.faction.isNull() && u.faction.toLongLong() == game.factionNumber;
        const bool current = equalsTurn(u.infoDatum, game.newestTurn);
        const bool admitted = selection.allUnits ? (!selection.currentOnly || current) : own;
        if (!admitted)
            continue;
        if (own && current) {
            addTo(sums.silver, u.silver);
            addTo(sums.persons, u.persons);
            addTo(sums.wood, u.wood);
            addTo(sums.stone, u.stone);
            addTo(sums.iron, u.iron);
            addTo(sums.laen, u.laen);
            addTo(sums.mallorn, u.mallorn);
            addTo(sums.horses, u.horses);
            addTo(sums.carts, u.carts);
            addTo(sums.spears, u.spears);
            addTo(sums.swords, u.swords);
            addTo(sums.bows, u.bows);
        }
        const QString id = idToStr(u.number, game.base);
        if (u.flags.contains(u'B')) {
            const int faction = u.faction.isNull() ? 0 : u.faction.toInt();
            auto name = factionNames.constFind(faction);
            if (name == factionNames.cend())
                name = factionNames.insert(faction,
                    u.faction.isNull() ? QString() : m_queries.factionName(game.number, faction));
            view.guards.append(u" "_s + u.name + u" ("_s + id + u")"_s + u" für "_s + *name);
        }
        const bool shown = current || !selection.currentOnly;
        const bool marked = u.flags.contains(u'x') || u.flags.contains(u'X');
        const QChar where = u.stationed.isEmpty() ? QChar() : u.stationed.at(0);
        if (where == u'B' || where == u'S') {
            // Inhabitants go directly below their castle or ship, so that the later,
            // higher numbers come first; one whose home is not listed is left out.
            const ListEntryKind kind = where == u'B' ? ListEntryKind::Castle : ListEntryKind::Ship;
            const QString home = u.stationed.mid(2);
            for (qsizetype i = 0; i < list.size(); ++i) {
                if (list[i].entry.kind != kind || list[i].numberText != home)
                    continue;
                if (shown)
                    list.insert(i + 1,
                        {{ListEntryKind::Unit, u.number, unitLine(u, id, true, marked)}, id});
                break;
            }
        } else if (shown) {
            list.append({{ListEntryKind::Unit, u.number, unitLine(u, id, false, marked)}, id});
        }
    }
    view.units.reserve(list.size());
    for (const Listed &l : list)
        view.units.append(l.entry);

    const QVector<HistoryRow> history = m_queries.regionHistory(game.number, x, y, selection.level);
    if (!history.isEmpty())
        view.history = historyGrid(history);
    return view;
}

} // namespace tolvimar
