#include "../db/schema.h"
#include "../orders/ordertemplate.h"
#include "blocklines.h"
#include "extractors.h"
#include "importcontext.h"
#include "importprogress.h"

namespace tolvimar {

namespace {

struct UnitFields
{
    int spiel, position, nr, name, beschreibung, personen, stationiert, partei, status, silber,
        befehl, infoDatum, rasse, zauber, kommtAus, flags, einreisedatum, hitpoints,
        unbekannteTalente, unbekannteGegenstaende, maentel, bogenschiessen, armbrustschiessen,
        strassenbau;
    QList<int> items;
    QList<int> skills;
    QList<int> carriedOver;

    UnitFields()
    {
        const TableDef &t = schema::einheiten();
        auto f = [&t](const char16_t *n) { return t.fieldIndex(QStringView(n)); };
        spiel = f(u"Spiel");
        position = f(u"Einheit Position");
        nr = f(u"Einheit Nr");
        name = f(u"Einheit Name");
        beschreibung = f(u"Einheit Beschreibung");
        personen = f(u"Personen");
        stationiert = f(u"Stationiert");
        partei = f(u"Partei Nr");
        status = f(u"Status");
        silber = f(u"Silber");
        befehl = f(u"Default Befehl");
        infoDatum = f(u"Info Datum");
        rasse = f(u"Rasse");
        zauber = f(u"Zauber");
        kommtAus = f(u"Kommt aus");
        flags = f(u"Flags");
        einreisedatum = f(u"Einreisedatum");
        hitpoints = f(u"Hitpoints");
        unbekannteTalente = f(u"Unbekannte Talente");
        unbekannteGegenstaende = f(u"Unbekannte Gegenstaende");
        maentel = f(u"Mäntel");
        bogenschiessen = f(u"Bogenschiessen");
        armbrustschiessen = f(u"Armbrustschiessen");
        strassenbau = f(u"Strassenbau");
        // The position is read too: left unchanged, its index entry is not rewritten.
        carriedOver = {flags, kommtAus, einreisedatum, infoDatum, zauber, befehl, rasse, position};
        for (const QString &item : schema::itemFieldNames())
            items.append(t.fieldIndex(item));
        for (const QString &skill : schema::skillFieldNames())
            skills.append(t.fieldIndex(skill));
    }
};

const UnitFields &fields()
{
    static const UnitFields f;
    return f;
}

// The events list gets an empty line before the first warning of each kind a unit has.
void warnUnknown(ImportContext &ctx, QString &unknown, const QString &name, const QString &value,
    const QString &warning)
{
    if (unknown.isEmpty()) {
        unknown = QStringLiteral("*");
        ctx.pages.append(Page::Ereignisse, QString());
    }
    unknown += name + u' ' + value + u'*';
    ctx.pages.append(Page::Ereignisse, QStringLiteral("Achtung!"));
    ctx.pages.append(Page::Ereignisse, warning);
}

// Factions do not change while units are read; each is looked up once an import.
QString factionText(ImportContext &ctx, int faction)
{
    const auto known = ctx.factionNames.constFind(faction);
    if (known != ctx.factionNames.constEnd())
        return *known;
    Table &p = *ctx.parteien;
    const QString name
        = p.findKey({ctx.game.number, faction}) ? p.text(u"Partei Name") : ctx.numberText(faction);
    ctx.factionNames.insert(faction, name);
    return name;
}

// One unit block while it is read: the row being written and what the sub-blocks
// tell each other.
struct UnitBlock
{
    UnitBlock(ImportContext &ctx, const UnitFields &fields, Table &table)
        : ctx(ctx)
        , F(fields)
        , u(table)
    {
    }

    ImportContext &ctx;
    const UnitFields &F;
    Table &u;
    int number = 0;
    QString unitText;
    QString name;
    QString loadText; // "Kapazitaet: load/capacity" for the unknown-items list
    QString auraText; // "Aura: aura/max" for the spells
    bool own = false;
    bool undead = false;
    int persons = 0;
    int orders = 0; // order lines written to the template

    // A sub-block ends at the next block the import knows (unknown ones are passed over).
    bool atEnd() const { return ctx.atBlockEnd(); }
    bool at(QStringView tag) const { return ctx.atBlock(tag); }
};

// The header "EINHEIT nr" and the name line; the row found or a new one, with the
// values every unit starts from.
void readHeader(UnitBlock &b)
{
    ImportContext &ctx = b.ctx;
    const UnitFields &F = b.F;
    Table &u = b.u;
    const QStringView header = headerText(ctx.line());
    const qsizetype blank = header.indexOf(u' ');
    b.number = toInt(blank < 0 ? QStringView() : header.mid(blank + 1), header, ctx.cursor);
    // Of the row as stored, only what carries over from turn to turn is read.
    u.editOrAppendReading({ctx.game.number, b.number}, F.carriedOver);
    u.setValue(F.stationiert, QStringLiteral("in Region"));
    u.setValue(F.position, ctx.regionPosition);
    ++ctx.cursor;
    b.name = quotedText(ctx.line());
    u.setValue(F.name, b.name);

    ctx.progress.setUnitName(b.name);
    ctx.progress.setPercent(ctx.percent());

    u.setValue(F.flags, u.text(F.flags).contains(u'X') ? QStringLiteral("X") : QString());
    u.setValue(F.silber, 0);
    u.setValue(F.personen, 1);
    u.setValue(F.partei, -1);
    if (u.text(F.kommtAus).isEmpty())
        u.setValue(F.kommtAus, QStringLiteral("unbekannt"));
    if (u.isNull(F.einreisedatum))
        u.setValue(F.einreisedatum, 0);
    ++ctx.cursor;
}

// The unit's key lines up to its first sub-block.
void readKeyLines(UnitBlock &b)
{
    ImportContext &ctx = b.ctx;
    const UnitFields &F = b.F;
    Table &u = b.u;
    const int ownFaction = ctx.game.factionNumber;
    while (!b.atEnd()) {
        const QStringView line = ctx.line();
        const int i = ctx.cursor;
        const qsizetype semicolon = line.lastIndexOf(u';');
        const QStringView key = semicolon < 0 ? QStringView() : line.mid(semicolon + 1);
        const bool quoted = semicolon >= 1 && line[semicolon - 1] == u'"';
        if (key == u"Typ" && quoted) {
            u.setValue(F.rasse, quotedText(line));
        } else if (key == u"Beschr" && quoted) {
            u.setValue(F.beschreibung, quotedText(line));
        } else if (key == u"Partei") {
            u.setValue(F.partei, intValue(line, i));
            const bool own = u.intValue(F.partei) == ownFaction;
            u.setValue(
                F.status, own ? QStringLiteral("kämpft vorne") : QStringLiteral("unbekannt"));
            u.setValue(F.hitpoints, own ? QStringLiteral("normal") : QStringLiteral("unbekannt"));
        } else if (key == u"Anzahl") {
            u.setValue(F.personen, intValue(line, i));
        } else if (key == u"hp") {
            u.setValue(F.hitpoints, quotedText(line));
        } else if (key == u"Silber") {
            u.setValue(F.silber, intValue(line, i));
        } else if (key == u"Burg") {
            u.setValue(F.stationiert, QStringLiteral("B ") + ctx.numberText(intValue(line, i)));
        } else if (key == u"Schiff") {
            u.setValue(F.stationiert, QStringLiteral("S ") + ctx.numberText(intValue(line, i)));
        } else if (key == u"Kampfstatus") {
            switch (intValue(line, i)) {
            case 1:
                u.setValue(F.status, QStringLiteral("kämpft hinten"));
                break;
            case 2:
                u.setValue(F.status, QStringLiteral("kämpft nicht"));
                break;
            case 3:
                u.setValue(F.status, QStringLiteral("flieht"));
                break;
            default:
                break;
            }
        } else if (key == u"bewacht") {
            u.setValue(F.flags, u.text(F.flags) + u'B');
        } else if (key == u"Parteitarnung") {
            u.setValue(F.flags, u.text(F.flags) + u'T');
        } else if (key == u"Ladung") {
            b.loadText = numberText(line).toString();
        } else if (key == u"Kapazitaet") {
            b.loadText
                = QStringLiteral("Kapazitaet: ") + b.loadText + u'/' + numberText(line).toString();
        } else if (key == u"Auramax") {
            b.auraText = QStringLiteral("Aura: ") + b.auraText + u'/' + numberText(line).toString();
        } else if (key == u"Aura") {
            b.auraText = numberText(line).toString();
        }
        ++ctx.cursor;
    }
    b.own = u.intValue(F.partei) == ownFaction;
    b.undead = u.text(F.rasse) == u"Untote";
    b.persons = u.intValue(F.personen);
}

// Own units count towards the status totals; undead do not.
void countOwnUnit(UnitBlock &b)
{
    if (!b.own || b.undead)
        return;
    b.ctx.addToStatus(StatusField::Einheiten, 1);
    b.ctx.addToStatus(StatusField::Personen, b.persons);
    b.ctx.addToStatus(StatusField::Silber, b.u.intValue(b.F.silber));
}

// A foreign unit on land that is new, or came from elsewhere, goes into the
// immigration report.
void noteArrival(UnitBlock &b)
{
    ImportContext &ctx = b.ctx;
    const UnitFields &F = b.F;
    Table &u = b.u;
    if (ctx.regionName == u"Ozean" || b.own)
        return;
    const QString here = ctx.regionName + u' ' + ctx.regionPosition;
    const QString cameFrom = u.text(F.kommtAus);
    QString notice;
    if (cameFrom == u"unbekannt")
        notice = QStringLiteral(
            "Eine neue Einheit wurde rekrutiert oder ist aus einer fremden Region eingereist:");
    else if (cameFrom != here)
        notice
            = QStringLiteral("Eine Einheit ist aus ") + cameFrom + QStringLiteral(" eingereist:");
    if (notice.isEmpty())
        return;
    ctx.pages.append(Page::Einreisebericht, notice);
    ctx.pages.append(Page::Einreisebericht,
        QStringLiteral("   ") + b.name + QStringLiteral(", ")
            + factionText(ctx, u.intValue(F.partei)) + QStringLiteral(", ")
            + QString::number(b.persons));
    u.setValue(F.kommtAus, here);
    u.setValue(F.einreisedatum, ctx.dateCode);
}

// COMMANDS: the orders go to the template and into `Default Befehl`.
void readCommands(UnitBlock &b)
{
    ImportContext &ctx = b.ctx;
    if (b.own)
        b.u.setValue(b.F.befehl, QStringLiteral("*"));
    if (!b.at(u"COMMANDS"))
        return;
    ++ctx.cursor;
    QString defaultOrders = b.u.text(b.F.befehl);
    while (!b.atEnd()) {
        const QStringView line = ctx.line();
        const QString order = line.size() < 2 ? QString() : line.mid(1, line.size() - 2).toString();
        defaultOrders += order + u'*';
        ctx.orderTemplate.append(QStringLiteral("    ") + order);
        ++b.orders;
        ++ctx.cursor;
    }
    b.u.setValue(b.F.befehl, defaultOrders);
}

// TALENTE of an own unit: each skill into its field, the others into the unknown list.
void readSkills(UnitBlock &b)
{
    if (!b.own)
        return;
    ImportContext &ctx = b.ctx;
    const UnitFields &F = b.F;
    Table &u = b.u;
    u.setValues(F.skills, QVariant());
    QString unknownSkills;
    if (b.at(u"TALENTE")) {
        ++ctx.cursor;
        while (!b.atEnd()) {
            const QStringView line = ctx.line();
            const qsizetype semicolon = line.indexOf(u';');
            const QString skill = semicolon < 0 ? QString() : line.mid(semicolon + 1).toString();
            const QString value = numberText(line).toString();
            if (const auto it = ctx.skillFields.constFind(skill); it != ctx.skillFields.constEnd())
                u.setValue(*it, value);
            else if (skill == u"Bogenschießen")
                u.setValue(F.bogenschiessen, value);
            else if (skill == u"Armbrustschießen")
                u.setValue(F.armbrustschiessen, value);
            else if (skill == u"Straßenbau")
                u.setValue(F.strassenbau, value);
            else
                warnUnknown(ctx, unknownSkills, skill, value,
                    QStringLiteral("Talent ") + skill
                        + QStringLiteral(" wurde nicht Einheiten Tabelle gefunden!!"));
            ++ctx.cursor;
        }
    }
    u.setValue(F.unbekannteTalente, unknownSkills);
}

// SPRUECHE and the aura: the spells star list.
void readSpells(UnitBlock &b)
{
    ImportContext &ctx = b.ctx;
    const UnitFields &F = b.F;
    Table &u = b.u;
    QString spells = b.own ? QString() : u.text(F.zauber);
    if (!b.auraText.isEmpty())
        spells = u'*' + b.auraText + u'*';
    if (b.at(u"SPRUECHE")) {
        ++ctx.cursor;
        if (spells.isEmpty())
            spells = QStringLiteral("*");
        while (!b.atEnd()) {
            spells += ctx.line().toString() + u'*';
            ++ctx.cursor;
        }
    }
    if (b.own || !b.auraText.isEmpty() || spells != u.text(F.zauber))
        u.setValue(F.zauber, spells);
}

// GEGENSTAENDE: each item into its field, silver into `Silber`, the others (and the
// load) into the unknown items list.
void readItems(UnitBlock &b)
{
    ImportContext &ctx = b.ctx;
    const UnitFields &F = b.F;
    Table &u = b.u;
    QString unknownItems;
    if (!b.loadText.isEmpty())
        unknownItems = u'*' + b.loadText + u'*';
    if (b.at(u"GEGENSTAENDE")) {
        ++ctx.cursor;
        while (!b.atEnd()) {
            const QStringView line = ctx.line();
            const int i = ctx.cursor;
            const qsizetype semicolon = line.indexOf(u';');
            const QString item = semicolon < 0 ? QString() : line.mid(semicolon + 1).toString();
            const QStringView value = numberText(line);
            if (containsText(lineKey(line), u"Mantel der Unv")) {
                u.setValue(F.maentel, toInt(value, line, i));
            } else if (lineKey(line) == u"Silber") {
                const int silver = toInt(value, line, i);
                u.setValue(F.silber, silver);
                if (b.own && !b.undead)
                    ctx.addToStatus(StatusField::Silber, silver);
            } else if (const auto it = ctx.itemFields.constFind(item);
                       it != ctx.itemFields.constEnd()) {
                u.setValue(*it, toInt(value, line, i));
            } else {
                warnUnknown(ctx, unknownItems, item, value.toString(),
                    QStringLiteral("Gegenstand ") + item
                        + QStringLiteral(" wurde nicht in Einheiten Tabelle gefunden!"));
            }
            ++ctx.cursor;
        }
    }
    u.setValue(F.unbekannteGegenstaende, unknownItems);
}

// The own unit's header line goes above its orders; the tail tells whether it
// commands its ship ("S") or owns its building ("G").
void writeTemplateHeader(UnitBlock &b)
{
    if (!b.own)
        return;
    ImportContext &ctx = b.ctx;
    const QString stationed = b.u.text(b.F.stationiert);
    QString tail = QStringLiteral("$]");
    if (stationed.contains(u'S')) {
        const QString ship = stationed.mid(2);
        tail = (ctx.captainList.contains(ship + u';' + b.unitText) ? QStringLiteral("$,S")
                                                                   : QStringLiteral("$,s"))
            + ship + u']';
    } else if (stationed.contains(u'B')) {
        const QString building = stationed.mid(2);
        tail = (ctx.ownerList.contains(building + u';' + b.unitText) ? QStringLiteral("$,G")
                                                                     : QStringLiteral("$,g"))
            + building + u']';
    }
    ctx.orderTemplate.insert(ctx.orderTemplate.size() - b.orders,
        unitHeaderLine(b.unitText, b.name, b.persons, b.u.intValue(b.F.silber), tail));
}

// EINHEITSBOTSCHAFTEN: the messages to the unit, up to the next block.
void readUnitMessages(UnitBlock &b)
{
    ImportContext &ctx = b.ctx;
    if (!b.at(u"EINHEITSBOTSCHAFTEN"))
        return;
    ++ctx.cursor;
    ctx.pages.append(Page::Botschaften,
        QStringLiteral("Botschaften an Einheit ") + b.name + QStringLiteral(" in (")
            + ctx.regionPosition + QStringLiteral(") :"));
    while (!b.atEnd()) {
        ctx.pages.append(Page::Botschaften, QStringLiteral("    ") + ctx.line().toString());
        ++ctx.cursor;
    }
}

} // namespace

void extractUnit(ImportContext &ctx)
{
    UnitBlock b(ctx, fields(), *ctx.einheiten);
    readHeader(b);
    readKeyLines(b);
    countOwnUnit(b);
    noteArrival(b);
    b.unitText = ctx.numberText(b.number);
    readCommands(b);
    readSkills(b);
    b.u.setValues(b.F.items, 0);
    readSpells(b);
    readItems(b);
    writeTemplateHeader(b);
    readUnitMessages(b);
    ctx.commitUnlessNewer(b.u, b.F.infoDatum);
    --ctx.cursor;
}

} // namespace tolvimar
