#include "../db/schema.h"
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

bool stopAt(const ImportContext &ctx, std::initializer_list<const char16_t *> keywords)
{
    return ctx.atEnd() || hasKeyword(ctx.line(), keywords);
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

} // namespace

void getEinheitenInfo(ImportContext &ctx)
{
    const UnitFields &F = fields();
    Table &u = *ctx.einheiten;
    const int game = ctx.game.number;

    const QStringView header = ctx.line();
    const qsizetype blank = header.indexOf(u' ');
    const int number = toInt(blank < 0 ? QStringView() : header.mid(blank + 1), header, ctx.cursor);
    // Of the row as stored, only what carries over from turn to turn is read.
    u.editOrAppendReading({game, number}, F.carriedOver);
    u.setValue(F.stationiert, QStringLiteral("in Region"));
    u.setValue(F.position, ctx.regionPosition);
    ++ctx.cursor;
    const QString name = quotedText(ctx.line());
    u.setValue(F.name, name);

    ctx.progress.setUnitName(name);
    ctx.progress.setPercent(ctx.percent());

    u.setValue(F.flags, u.text(F.flags).contains(u'X') ? QStringLiteral("X") : QString());
    u.setValue(F.silber, 0);
    u.setValue(F.personen, 1);
    u.setValue(F.partei, -1);
    QString loadText;
    QString auraText;
    if (u.text(F.kommtAus).isEmpty())
        u.setValue(F.kommtAus, QStringLiteral("unbekannt"));
    if (u.isNull(F.einreisedatum))
        u.setValue(F.einreisedatum, 0);

    const int ownFaction = ctx.game.factionNumber;
    auto isOwn = [&] { return u.intValue(F.partei) == ownFaction; };

    ++ctx.cursor;
    while (!stopAt(ctx, {u"EINHEIT", u"COMMANDS", u"TALENTE", u"GEGENSTAENDE", u"REGION"})) {
        const QStringView line = ctx.line();
        const int i = ctx.cursor;
        if (containsText(line, u"\";Typ")) {
            u.setValue(F.rasse, quotedText(line));
        } else if (containsText(line, u"\";Beschr")) {
            u.setValue(F.beschreibung, quotedText(line));
        } else if (containsText(line, u";Partei") && !containsText(line, u";Parteitarnung")) {
            u.setValue(F.partei, intValue(line, i));
            const bool own = isOwn();
            u.setValue(
                F.status, own ? QStringLiteral("kämpft vorne") : QStringLiteral("unbekannt"));
            u.setValue(F.hitpoints, own ? QStringLiteral("normal") : QStringLiteral("unbekannt"));
        } else if (containsText(line, u";Anzahl")) {
            u.setValue(F.personen, intValue(line, i));
        } else if (containsText(line, u";hp")) {
            u.setValue(F.hitpoints, quotedText(line));
        } else if (containsText(line, u";Silber")) {
            u.setValue(F.silber, intValue(line, i));
        } else if (containsText(line, u";Burg")) {
            u.setValue(F.stationiert, QStringLiteral("B ") + ctx.numberText(intValue(line, i)));
        } else if (containsText(line, u";Schiff")) {
            u.setValue(F.stationiert, QStringLiteral("S ") + ctx.numberText(intValue(line, i)));
        } else if (containsText(line, u";Kampfstatus")) {
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
        } else if (containsText(line, u";bewacht")) {
            u.setValue(F.flags, u.text(F.flags) + u'B');
        } else if (containsText(line, u";Parteitarnung")) {
            u.setValue(F.flags, u.text(F.flags) + u'T');
        } else if (containsText(line, u";Ladung")) {
            loadText = numberText(line).toString();
        } else if (containsText(line, u";Kapazitaet")) {
            loadText
                = QStringLiteral("Kapazitaet: ") + loadText + u'/' + numberText(line).toString();
        } else if (containsText(line, u";Auramax")) {
            auraText = QStringLiteral("Aura: ") + auraText + u'/' + numberText(line).toString();
        } else if (containsText(line, u";Aura")) {
            auraText = numberText(line).toString();
        }
        ++ctx.cursor;
    }

    const bool own = isOwn();
    const bool undead = u.text(F.rasse) == u"Untote";
    const int persons = u.intValue(F.personen);
    if (own && !undead) {
        ctx.addToStatus(StatusField::Einheiten, 1);
        ctx.addToStatus(StatusField::Personen, persons);
        ctx.addToStatus(StatusField::Silber, u.intValue(F.silber));
    }

    const QString position = ctx.regionPosition;
    if (ctx.regionName != u"Ozean" && !own) {
        const QString here = ctx.regionName + u' ' + position;
        const QString cameFrom = u.text(F.kommtAus);
        const QString unitLine = QStringLiteral("   ") + name + QStringLiteral(", ")
            + factionText(ctx, u.intValue(F.partei)) + QStringLiteral(", ")
            + QString::number(persons);
        QString notice;
        if (cameFrom == u"unbekannt")
            notice = QStringLiteral(
                "Eine neue Einheit wurde rekrutiert oder ist aus einer fremden Region eingereist:");
        else if (cameFrom != here)
            notice = QStringLiteral("Eine Einheit ist aus ") + cameFrom
                + QStringLiteral(" eingereist:");
        if (!notice.isEmpty()) {
            ctx.pages.append(Page::Einreisebericht, notice);
            ctx.pages.append(Page::Einreisebericht, unitLine);
            u.setValue(F.kommtAus, here);
            u.setValue(F.einreisedatum, ctx.dateCode);
        }
    }

    if (own)
        u.setValue(F.befehl, QStringLiteral("*"));
    const QString unitText = ctx.numberText(number);

    int orders = 0;
    if (!ctx.atEnd() && hasKeyword(ctx.line(), {u"COMMANDS"})) {
        ++ctx.cursor;
        QString defaultOrders = u.text(F.befehl);
        while (!stopAt(ctx, {u"GEGENSTAENDE", u"SPRUECHE", u"EINHEIT", u"REGION", u"TALENTE"})) {
            const QStringView line = ctx.line();
            const QString order
                = line.size() < 2 ? QString() : line.mid(1, line.size() - 2).toString();
            defaultOrders += order + u'*';
            ctx.orderTemplate.append(QStringLiteral("    ") + order);
            ++orders;
            ++ctx.cursor;
        }
        u.setValue(F.befehl, defaultOrders);
    }

    if (own) {
        u.setValues(F.skills, QVariant());
        QString unknownSkills;
        if (!ctx.atEnd() && hasKeyword(ctx.line(), {u"TALENTE"})) {
            ++ctx.cursor;
            while (!stopAt(ctx, {u"GEGENSTAENDE", u"SPRUECHE", u"EINHEIT", u"REGION"})) {
                const QStringView line = ctx.line();
                const qsizetype semicolon = line.indexOf(u';');
                const QString skill
                    = semicolon < 0 ? QString() : line.mid(semicolon + 1).toString();
                const QString value = numberText(line).toString();
                if (const auto it = ctx.skillFields.constFind(skill);
                    it != ctx.skillFields.constEnd())
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

    u.setValues(F.items, 0);
    QString spells = own ? QString() : u.text(F.zauber);
    if (!auraText.isEmpty())
        spells = u'*' + auraText + u'*';
    if (!ctx.atEnd() && hasKeyword(ctx.line(), {u"SPRUECHE"})) {
        ++ctx.cursor;
        if (spells.isEmpty())
            spells = QStringLiteral("*");
        while (!stopAt(ctx, {u"GEGENSTAENDE", u"EINHEIT", u"REGION"})) {
            spells += ctx.line().toString() + u'*';
            ++ctx.cursor;
        }
    }
    if (own || !auraText.isEmpty() || spells != u.text(F.zauber))
        u.setValue(F.zauber, spells);

    QString unknownItems;
    if (!loadText.isEmpty())
        unknownItems = u'*' + loadText + u'*';
    if (!ctx.atEnd() && hasKeyword(ctx.line(), {u"GEGENSTAENDE"})) {
        ++ctx.cursor;
        while (!stopAt(ctx, {u"SPRUECHE", u"EINHEIT", u"REGION"})) {
            const QStringView line = ctx.line();
            const int i = ctx.cursor;
            const qsizetype semicolon = line.indexOf(u';');
            const QString item = semicolon < 0 ? QString() : line.mid(semicolon + 1).toString();
            const QStringView value = numberText(line);
            if (containsText(line, u"Mantel der Unv")) {
                u.setValue(F.maentel, toInt(value, line, i));
            } else if (containsText(line, u";Silber") && !containsText(line, u";Silberbeutel")
                && !containsText(line, u";Silbertruhe")
                && !containsText(line, u";Silberkassette")) {
                const int silver = toInt(value, line, i);
                u.setValue(F.silber, silver);
                if (own && !undead)
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

    if (own) {
        const QString stationed = u.text(F.stationiert);
        QString tail = QStringLiteral("$]");
        if (stationed.contains(u'S')) {
            const QString ship = stationed.mid(2);
            tail = (ctx.captainList.contains(ship + u';' + unitText) ? QStringLiteral("$,S")
                                                                     : QStringLiteral("$,s"))
                + ship + u']';
        } else if (stationed.contains(u'B')) {
            const QString building = stationed.mid(2);
            tail = (ctx.ownerList.contains(building + u';' + unitText) ? QStringLiteral("$,G")
                                                                       : QStringLiteral("$,g"))
                + building + u']';
        }
        const QString headerLine = QStringLiteral(" EINHEIT ") + unitText + QStringLiteral(";\t")
            + name + QStringLiteral(" [") + QString::number(persons) + u','
            + QString::number(u.intValue(F.silber)) + tail;
        ctx.orderTemplate.insert(ctx.orderTemplate.size() - orders, headerLine);
    }

    if (!ctx.atEnd() && hasKeyword(ctx.line(), {u"EINHEITSBOTSCHAFTEN"})) {
        ++ctx.cursor;
        ctx.pages.append(Page::Botschaften,
            QStringLiteral("Botschaften an Einheit ") + name + QStringLiteral(" in (") + position
                + QStringLiteral(") :"));
        while (!ctx.atEnd()) {
            const QStringView line = ctx.line();
            if (!isQuotedLine(line)
                && (hasKeyword(line, {u"BURG", u"REGION", u"SCHIFF"})
                    || line.startsWith(u"EINHEIT")))
                break;
            ctx.pages.append(Page::Botschaften, QStringLiteral("    ") + line.toString());
            ++ctx.cursor;
        }
    }

    if (!u.isNull(F.infoDatum) && u.intValue(F.infoDatum) > ctx.dateCode) {
        u.cancel();
    } else {
        u.setValue(F.infoDatum, ctx.dateCode);
        u.post();
    }
    --ctx.cursor;
}

} // namespace tolvimar
