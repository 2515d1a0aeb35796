#include "../base/position.h"
#include "../db/schema.h"
#include "../orders/ordertemplate.h"
#include "blocklines.h"
#include "extractors.h"
#include "importcontext.h"
#include "importprogress.h"

namespace tolvimar {

namespace {

struct RegionFields
{
    int spiel, breite, laenge, ebene, name, typ, holz, bauern, vermoegen, pferde, unterhaltung,
        lohn, rekrutieren, luxus, infoDatum, bewachung, beschreibung, strasse, lean, eisen, mallorn,
        umgebung;
    int prices[7];
    int roads[6];

    RegionFields()
    {
        const TableDef &t = schema::regionen();
        auto f = [&t](const char16_t *name) { return t.fieldIndex(QStringView(name)); };
        spiel = f(u"Spiel");
        breite = f(u"Breite");
        laenge = f(u"Länge");
        ebene = f(u"Ebene");
        name = f(u"Regionname");
        typ = f(u"Regiontyp");
        holz = f(u"Holzstämme");
        bauern = f(u"Bauern");
        vermoegen = f(u"VermögenBauern");
        pferde = f(u"Pferde");
        unterhaltung = f(u"Unterhaltung max");
        lohn = f(u"Arbeitslohn");
        rekrutieren = f(u"Rekrutieren");
        luxus = f(u"Luxusgüter");
        infoDatum = f(u"Info Datum");
        bewachung = f(u"Bewachung");
        beschreibung = f(u"Beschreibung");
        strasse = f(u"Strasse");
        lean = f(u"Lean");
        eisen = f(u"Eisen");
        mallorn = f(u"Mallorn");
        umgebung = f(u"Umgebung");
        const char16_t *priceNames[7]
            = {u"Balsam", u"Gewuerz", u"Juwel", u"Myrrhe", u"Oel", u"Seide", u"Weihrauch"};
        for (int i = 0; i < 7; ++i)
            prices[i] = f(priceNames[i]);
        roads[0] = strasse;
        const char16_t *roadNames[5]
            = {u"Strasse1", u"Strasse2", u"Strasse3", u"Strasse4", u"Strasse5"};
        for (int i = 0; i < 5; ++i)
            roads[i + 1] = f(roadNames[i]);
    }
};

const RegionFields &fields()
{
    static const RegionFields f;
    return f;
}

// Key lines of a region block and the fields they set.
struct KeyLine
{
    const char16_t *key;
    int RegionFields::*field;
    bool text; // a quoted value: "text";key
};

const KeyLine kKeyLines[] = {
    {u"Name", &RegionFields::name, true},
    {u"Terrain", &RegionFields::typ, true},
    {u"Beschr", &RegionFields::beschreibung, true},
    {u"Baeume", &RegionFields::holz, false},
    {u"Mallorn", &RegionFields::mallorn, false},
    {u"Laen", &RegionFields::lean, false},
    {u"Eisen", &RegionFields::eisen, false},
    {u"Bauern", &RegionFields::bauern, false},
    {u"Silber", &RegionFields::vermoegen, false},
    {u"Pferde", &RegionFields::pferde, false},
    {u"Strasse", &RegionFields::strasse, false},
    {u"Unterh", &RegionFields::unterhaltung, false},
    {u"Rekruten", &RegionFields::rekrutieren, false},
    {u"maxLuxus", &RegionFields::luxus, false},
    {u"Lohn", &RegionFields::lohn, false},
};

QString withoutEnds(QStringView line)
{
    return line.size() < 2 ? QString() : line.mid(1, line.size() - 2).toString();
}

QString memoText(const QStringList &lines)
{
    QString text;
    for (const QString &l : lines) {
        text += l;
        text += QStringLiteral("\r\n");
    }
    return text;
}

void readRegionMessages(ImportContext &ctx, const QString &header, const QString &prefix)
{
    ++ctx.cursor;
    ctx.pages.append(Page::Botschaften, header);
    while (!ctx.atBlockEnd()) {
        ctx.pages.append(Page::Botschaften, prefix + ctx.line().toString());
        ++ctx.cursor;
    }
    ctx.pages.append(Page::Botschaften, QString());
}

// Lines of those who passed through (travellers or ships) into the intelligence
// report, under a heading; an ocean also keeps its travellers in its memo.
void readPassage(ImportContext &ctx, const QString &heading, QStringList *scratch)
{
    ++ctx.cursor;
    ctx.pages.append(Page::Geheimdienstbericht, heading);
    while (!ctx.atBlockEnd()) {
        ctx.pages.append(Page::Geheimdienstbericht, ctx.line().toString());
        if (scratch)
            scratch->append(withoutEnds(ctx.line()));
        ++ctx.cursor;
    }
    ctx.pages.append(Page::Geheimdienstbericht, QString());
}

// The goods of a price block and their fields, by the key of each line.
struct PriceKey
{
    const char16_t *key;
    int field; // index into RegionFields::prices
};

const PriceKey kPriceKeys[] = {
    {u"Balsam", 0},
    {u"Gewürz", 1},
    {u"Gewuerz", 1},
    {u"Juwel", 2},
    {u"Myrrhe", 3},
    {u"Öl", 4},
    {u"Oel", 4},
    {u"Seide", 5},
    {u"Weihrauch", 6},
};

// "PREISE": each line sets the price of the good its key names, in any order; goods
// without a field are passed over and a good the block does not name keeps its price.
void readPrices(ImportContext &ctx, Table &r)
{
    const RegionFields &F = fields();
    ++ctx.cursor;
    while (!ctx.atBlockEnd()) {
        const QStringView line = ctx.line();
        const QStringView key = lineKey(line);
        for (const PriceKey &p : kPriceKeys) {
            if (key == QStringView(p.key)) {
                r.setValue(F.prices[p.field], intValue(line, ctx.cursor));
                break;
            }
        }
        ++ctx.cursor;
    }
}

// "GRENZE" blocks that follow each other, read in one pass: a road border stores its
// completion in percent for its direction.
void readBorders(ImportContext &ctx, Table &r)
{
    const RegionFields &F = fields();
    int direction = -1;
    bool road = false;
    ++ctx.cursor;
    while (!ctx.atBlockEnd({u"GRENZE"})) {
        const QStringView line = ctx.line();
        const QStringView key = lineKey(line);
        if (key == u"typ" && quotedText(line) == u"Straße") {
            road = true;
        } else if (key == u"richtung") {
            direction = intValue(line, ctx.cursor);
        } else if (road && key == u"prozent") {
            if (direction >= 0 && direction <= 5)
                r.setValue(F.roads[direction], intValue(line, ctx.cursor));
            direction = -1;
            road = false;
        }
        ++ctx.cursor;
    }
}

// "UMGEBUNG": the environment text, its lines unquoted, each followed by the
// character 22. The first block of a region starts it anew unless it holds a mark of
// this round (ownRound); a later one (ownRound empty) adds to it.
void readEnvironment(ImportContext &ctx, Table &r, const QString &ownRound)
{
    const RegionFields &F = fields();
    QString environment = r.text(F.umgebung);
    if (!ownRound.isEmpty() && !environment.contains(ownRound))
        environment = QStringLiteral(" ");
    ++ctx.cursor;
    while (!ctx.atBlockEnd()) {
        environment += withoutEnds(ctx.line());
        environment += QChar(22);
        ++ctx.cursor;
    }
    r.setValue(F.umgebung, environment);
}

// "MESSAGE" blocks that follow each other: their rendered texts into the region's memo.
void readRegionMessageBlocks(ImportContext &ctx, QStringList &scratch)
{
    ++ctx.cursor;
    while (!ctx.atBlockEnd({u"MESSAGE"})) {
        const QStringView line = ctx.line();
        if (hasTextKey(line, u"rendered")) {
            const qsizetype end = line.indexOf(u"\";rendered");
            scratch.append(end < 1 ? QString() : line.mid(1, end - 1).toString());
        }
        ++ctx.cursor;
    }
}

} // namespace

void extractRegion(ImportContext &ctx)
{
    const RegionFields &F = fields();
    Table &r = *ctx.regionen;
    const int headerIndex = ctx.cursor;
    const QStringView header = headerText(ctx.line());

    // "REGION x y" or "REGION x y z".
    const qsizetype b1 = header.indexOf(u' ');
    const QStringView afterKeyword = b1 < 0 ? QStringView() : header.mid(b1 + 1);
    const qsizetype b2 = afterKeyword.indexOf(u' ');
    const QStringView xText = b2 < 0 ? afterKeyword : afterKeyword.left(b2);
    const QStringView rest = b2 < 0 ? QStringView() : afterKeyword.mid(b2 + 1);
    const qsizetype b3 = rest.indexOf(u' ');
    const int x = toInt(xText, header, headerIndex);
    const int y = toInt(b3 < 0 ? rest : rest.left(b3), header, headerIndex);
    const int z = b3 < 0 ? 0 : toInt(rest.mid(b3 + 1), header, headerIndex);
    const int game = ctx.game.number;
    const QString ownRound = QStringLiteral("in Runde ") + QString::number(ctx.dateCode);

    if (z != 0 && !ctx.ebenen->findKey({game, z})) {
        ctx.ebenen->append();
        ctx.ebenen->setValue(u"Spiel", game);
        ctx.ebenen->setValue(u"Ebene", z);
        ctx.ebenen->setValue(u"Name", QStringLiteral("unbekannt"));
        ctx.ebenen->post();
    }

    r.editOrAppend({game, x, y, z});
    for (int f :
        {F.holz, F.mallorn, F.eisen, F.bauern, F.vermoegen, F.pferde, F.rekrutieren, F.luxus})
        r.setValue(f, 0);
    for (int f : F.roads)
        r.setValue(f, 0);
    r.setValue(F.lean, -1);
    r.setValue(F.lohn, 11);
    r.setValue(F.bewachung, QStringLiteral("unbewacht"));
    if (!r.text(F.umgebung).contains(ownRound))
        r.setValue(F.umgebung, QString());
    QStringList scratch;
    ++ctx.cursor;

    while (!ctx.atBlockEnd()) {
        const QStringView line = ctx.line();
        const qsizetype semicolon = line.lastIndexOf(u';');
        if (semicolon >= 0) {
            const QStringView key = line.mid(semicolon + 1);
            const bool quoted = semicolon >= 1 && line[semicolon - 1] == u'"';
            for (const KeyLine &k : kKeyLines) {
                if (key != QStringView(k.key) || (k.text && !quoted))
                    continue;
                if (k.text)
                    r.setValue(F.*k.field, quotedText(line));
                else
                    r.setValue(F.*k.field, intValue(line, ctx.cursor));
                break;
            }
        }
        ++ctx.cursor;
    }

    if (r.intValue(F.luxus) == 0)
        r.setValue(F.luxus, r.intValue(F.bauern) / 100);
    if (r.text(F.name).isEmpty())
        r.setValue(F.name, QStringLiteral("Ozean"));
    if (r.text(F.typ) == u"Ozean")
        r.setValue(F.name, QStringLiteral("Ozean"));
    const QString name = r.text(F.name);

    ctx.progress.setStep(QStringLiteral("Informationen werden eingelesen für : ") + name
        + QStringLiteral(" (") + positionText(x, y) + u')');
    ctx.progress.setLine(ctx.cursor);
    ctx.progress.setUnitName(QStringLiteral(" "));
    ctx.progress.setPercent(ctx.percent());

    ctx.regionPosition = positionText(x, y, z);
    const QString where = name + QStringLiteral(" (") + ctx.regionPosition + u')';

    if (name != u"Ozean") {
        ctx.pages.append(Page::Einreisebericht, QString());
        ctx.pages.append(Page::Einreisebericht,
            QStringLiteral("Einreisebericht für ") + where + QStringLiteral(" :"));
        ctx.pages.append(Page::Einreisebericht, QString());
    }

    // Sub-blocks in any order and any number, with blocks the import does not know
    // between them; what each writes follows the report's order. The region ends at
    // the first block that is none of them.
    bool environmentRead = false;
    for (;;) {
        ctx.skipForeignBlocks();
        if (ctx.atEnd())
            break;
        const QStringView tag = blockTag(ctx.line());
        if (tag == u"PREISE") {
            readPrices(ctx, r);
        } else if (tag == u"GRENZE") {
            readBorders(ctx, r);
        } else if (tag == u"UMGEBUNG") {
            readEnvironment(ctx, r, environmentRead ? QString() : ownRound);
            environmentRead = true;
        } else if (tag == u"DURCHREISE") {
            readPassage(ctx,
                QStringLiteral("Unsere Leute in ") + where
                    + QStringLiteral(" haben folgendes beobachtet:"),
                r.text(F.typ) == u"Ozean" ? &scratch : nullptr);
        } else if (tag == u"DURCHSCHIFFUNG") {
            readPassage(ctx,
                QStringLiteral("Schiffe, die durch ") + where + QStringLiteral(" gesegelt sind:"),
                nullptr);
        } else if (tag == u"MESSAGE" && opensBlockWithNumber(ctx.line(), u"MESSAGE")) {
            readRegionMessageBlocks(ctx, scratch);
        } else if (tag == u"REGIONSEREIGNISSE" || tag == u"REGIONSKOMMENTAR"
            || tag == u"REGIONSNACHRICHTEN") {
            readRegionMessages(
                ctx, QStringLiteral("Ereignisse in ") + where + QStringLiteral(" :"), QString());
        } else if (tag == u"REGIONSBOTSCHAFTEN") {
            readRegionMessages(ctx,
                QStringLiteral("Botschaften an Region ") + where + QStringLiteral(" :"),
                QStringLiteral("    "));
        } else {
            break;
        }
    }

    --ctx.cursor;
    if (ctx.takesReport(r, F.infoDatum)) {
        const QString environment = r.text(F.umgebung);
        if (environment.size() > 8)
            scratch.append(environment);
        r.setValue(F.umgebung, memoText(scratch));
    }
    ctx.commitUnlessNewer(r, F.infoDatum);

    const QString regionType = r.text(F.typ);
    ctx.regionName = r.text(F.name);
    if (regionType != u"Ozean") {
        Table &s = *ctx.statistik;
        s.editOrAppend({game, x, y, z, ctx.dateCode});
        s.setValue(u"Bauern", r.value(F.bauern));
        s.setValue(u"Bauern Silber", r.value(F.vermoegen));
        s.setValue(u"Pferde", r.value(F.pferde));
        s.setValue(u"Laen", r.value(F.lean));
        s.setValue(u"Eisen", r.value(F.eisen));
        if (r.intValue(F.mallorn) == 1) {
            s.setValue(u"Mallorn", r.value(F.holz));
            s.setValue(u"Anzahl Holz", 0);
        } else {
            s.setValue(u"Mallorn", r.value(F.mallorn));
            s.setValue(u"Anzahl Holz", r.value(F.holz));
        }
        s.post();
    }

    // A region block that received no unit lines gives way to the next one.
    QStringList &t = ctx.orderTemplate;
    if (t.size() >= 4 && isRegionHeaderLine(t[t.size() - 3]))
        t.erase(t.end() - 4, t.end());
    t.append(QString());
    t.append(regionHeaderLine(
        x, y, ctx.mapLevel != 0 ? std::optional<int>(z) : std::nullopt, ctx.regionName));
    t.append(QStringLiteral(" ; Zorbek Lohn ") + QString::number(r.intValue(F.lohn)));
    t.append(QString());
}

} // namespace tolvimar
