#include "reportgenerator.h"

#include "base/errors.h"
#include "base/identifiers.h"
#include "base/textfile.h"
#include "report/blocklines.h"

#include <QBuffer>
#include <QDir>
#include <QSaveFile>
#include <QVector>

namespace tolvimar {

namespace {

// splitmix64: small, fast and the same on every platform (the standard
// distributions are not).
class Random
{
public:
    explicit Random(quint64 seed)
        : m_state(seed)
    {
    }
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // In [low, high].
    int range(int low, int high) { return low + int(next() % quint64(high - low + 1)); }
    bool chance(int percent) { return int(next() % 100) < percent; }
    template<typename T, size_t N> const T &pick(const T (&list)[N]) { return list[next() % N]; }

private:
    quint64 m_state;
};

const char16_t *const kRegionNames[]
    = {u"Weidenau", u"Grünwald", u"Süderau", u"Falkenried", u"Dornhag", u"Kaltquell", u"Lindgrund",
        u"Rabenhorst", u"Schattental", u"Moorgrund", u"Eschenhöh", u"Bärenfurt"};
const char16_t *const kTerrains[]
    = {u"Ebene", u"Wald", u"Sumpf", u"Berge", u"Hochland", u"Wueste", u"Gletscher"};
const char16_t *const kUnitNames[] = {u"Holzfäller", u"Bäcker", u"Händler", u"Späher",
    u"Bogenschützen", u"Schmiede", u"Seeleute", u"Wachen", u"Reiter", u"Magier", u"Bauern"};
const char16_t *const kRaces[] = {u"Menschen", u"Zwerge", u"Elfen", u"Orks", u"Halblinge"};
const char16_t *const kOrders[] = {u"ARBEITE", u"MACHE Holz", u"LERNE Wahrnehmung", u"BEWACHE",
    u"KAUFE Balsam", u"TREIBE", u"UNTERHALTE", u"NACH o no", u"LERNE Hiebwaffen", u"VERKAUFE 5 Öl",
    u"// Sammler für später"};
const char16_t *const kSkills[] = {u"Ausdauer", u"Bergbau", u"Burgenbau", u"Handeln", u"Holzfällen",
    u"Hiebwaffen", u"Magie", u"Reiten", u"Segeln", u"Steinbau", u"Taktik", u"Tarnung",
    u"Wahrnehmung", u"Bogenschießen", u"Straßenbau", u"Kräuterkunde"};
const char16_t *const kItems[]
    = {u"Holz", u"Stein", u"Pferd", u"Eisen", u"Wagen", u"Speer", u"Bogen", u"Schwert",
        u"Kettenhemd", u"Elfenlieb", u"Gewürz", u"Öl", u"Silberbeutel", u"Schild", u"Heiltrank"};
const char16_t *const kShipTypes[]
    = {u"Boot", u"Langboot", u"Drachenschiff", u"Karavelle", u"Trireme"};
const char16_t *const kPrices[]
    = {u"Balsam", u"Gewuerz", u"Juwel", u"Myrrhe", u"Oel", u"Seide", u"Weihrauch"};
const char16_t *const kSpells[] = {u"Feuerball", u"Segen der Erde", u"Nebelwand", u"Heilung"};

constexpr int kForeignFactions = 8;
constexpr qint64 kFlushBytes = 1 << 20;

// Blocks that servers and clients write and the import passes over: one is put
// before a block header now and then when foreign blocks are asked for.
const char16_t *const kForeignBlocks[][4] = {
    {u"RESOURCE 1", u"\"Bauern\";type", u"1500;number", nullptr},
    {u"RESOURCE 2", u"\"Silber\";type", u"20;skill", u"-1;number"},
    {u"EFFECTS", u"\"Ein Nebel liegt über dem Land\"", u"\"Die Erde bebt\"", nullptr},
    {u"MESSAGETYPE 77", u"\"$unit($unit) verdient $int($amount) Silber.\";text",
        u"\"economy\";section", nullptr},
    {u"TRANSLATION", u"\"Bauern\";Bauern", u"\"Anzahl\";Anzahl", u"\"Silber\";Silber"},
    {u"TRANSLATION", u"\"Runde\";Runde", u"\"Partei\";Partei", u"\"REGION\";REGION"},
    {u"GRUPPE 3", u"\"Wächter\";name", u"1;typprefix", nullptr},
    {u"KAMPFZAUBER 0", u"\"Feuerball\";name", u"3;level", nullptr},
    {u"ZAUBER 12", u"\"Segen der Erde\";name", u"\"Die Ähren wachsen.\";info", u"2;level"},
    {u"TRANK 4", u"\"Heiltrank\";Name", u"2;Stufe", nullptr},
    {u"ZUSATZ", u"\"Notiz des Spielers\";text", nullptr, nullptr},
    {u"KOMMENTAR", u"\"Hier wohnt ein Drache.\"", nullptr, nullptr},
    {u"BORDER 9", u"\"Straße\";type", u"2;direction", u"100;prozent"},
    {u"OPTION", u"1;AUSWERTUNG", u"0;ZIPPED", nullptr},
};
// Keys that clients add to a unit's or a region's key lines.
const char16_t *const kClientTags[]
    = {u"1;ejcOrdersConfirmed", u"\"Wachposten\";ejcComment", u"7;ejcTurnsLeft"};

// Collects encoded lines and hands them to the device in large pieces.
class LineWriter
{
public:
    LineWriter(QIODevice &device, TextEncoding encoding, bool crlf, ReportGenerator::Stats &stats,
        const ReportGenerator::Options &options)
        : m_device(device)
        , m_encoding(encoding)
        , m_end(crlf ? "\r\n" : "\n")
        , m_stats(stats)
        , m_foreign(options.foreign)
        , m_foreignRandom(options.seed ^ 0x5A5A5A5AULL)
    {
        m_buffer.reserve(kFlushBytes + 4096);
    }

    void line(QStringView text)
    {
        if (m_foreign)
            maybeForeign(text);
        write(text);
    }
    void line(const QString &text) { line(QStringView(text)); }
    void line(const char16_t *text) { line(QStringView(text)); }
    // A line as servers write it in place of the plain one (another spelling, a word
    // for a number): where the report stops depends on the plain line only.
    void lineInPlaceOf(QStringView text, QStringView plain)
    {
        line(text);
        m_foreignBytes
            += encodeText(text, m_encoding).size() - encodeText(plain, m_encoding).size();
    }
    void value(qint64 number, QStringView key)
    {
        line(QString::number(number) + u';' + key.toString());
    }
    void quoted(QStringView text, QStringView key)
    {
        line(u'"' + text.toString() + QStringLiteral("\";") + key.toString());
    }

    void flush()
    {
        if (m_device.write(m_buffer) != m_buffer.size())
            throw UserError(QStringLiteral("Der CR kann nicht geschrieben werden: %1")
                                .arg(m_device.errorString()));
        m_stats.bytes += m_buffer.size();
        m_buffer.clear();
    }
    // What the report would hold without the foreign blocks: where it stops must not
    // depend on them.
    qint64 written() const { return m_stats.bytes + m_buffer.size() - m_foreignBytes; }

private:
    void write(QStringView text)
    {
        m_buffer += encodeText(text, m_encoding);
        m_buffer += m_end;
        ++m_stats.lines;
        if (m_buffer.size() >= kFlushBytes)
            flush();
    }
    void writeForeign(QStringView text)
    {
        const qint64 before = m_buffer.size() + m_stats.bytes;
        write(text);
        m_foreignBytes += m_buffer.size() + m_stats.bytes - before;
    }
    // Before a block header: client keys at the end of a unit's or region's key lines,
    // and now and then a whole foreign block.
    void maybeForeign(QStringView text)
    {
        const QStringView tag = blockTag(text);
        if (tag.isEmpty())
            return;
        if ((m_lastTag == u"EINHEIT" || m_lastTag == u"REGION") && m_foreignRandom.chance(30))
            writeForeign(m_foreignRandom.pick(kClientTags));
        if (m_stats.lines > 0 && m_foreignRandom.chance(15)) {
            for (const char16_t *l : m_foreignRandom.pick(kForeignBlocks)) {
                if (l)
                    writeForeign(l);
            }
        }
        m_lastTag = tag.toString();
    }

    QIODevice &m_device;
    TextEncoding m_encoding;
    QByteArray m_end;
    QByteArray m_buffer;
    ReportGenerator::Stats &m_stats;
    bool m_foreign;
    Random m_foreignRandom;
    qint64 m_foreignBytes = 0;
    QString m_lastTag;
};

struct PlannedUnit
{
    int number;
    bool own;
    int faction;
    int building = 0; // number of the building it is in, 0 for none
    int ship = 0;
};

class Writer
{
public:
    Writer(const ReportGenerator::Options &options, LineWriter &out, ReportGenerator::Stats &stats)
        : m_o(options)
        , m_out(out)
        , m_stats(stats)
        , m_random(options.seed)
        , m_shuffle(options.seed ^ 0x3C3C3C3CULL)
    {
    }

    void run()
    {
        header();
        sections();
        messages();
        alliances();
        while (!enoughRegions())
            region();
        m_out.flush();
    }

private:
    bool kalmora() const { return m_o.game == ReportGenerator::Game::Kalmora; }
    QString idText(int number) const
    {
        return kalmora() ? idToStr(number, 36) : QString::number(number);
    }
    QString unitName() { return QString::fromUtf16(m_random.pick(kUnitNames)); }

    void header()
    {
        m_out.line(QStringLiteral("VERSION %1").arg(m_o.version));
        m_out.quoted(kalmora() ? u"Kalmora" : u"Sulvitan", u"Spiel");
        m_out.value(kalmora() ? 36 : 10, u"Basis");
        m_out.value(1, u"Umlaute");
        m_out.value(m_o.turn, u"Runde");
        m_out.line(QStringLiteral("PARTEI %1").arg(m_o.faction));
        m_out.quoted(QStringLiteral("geheim%1").arg(m_random.range(10, 99)), u"Passwort");
        m_out.value(m_random.range(50, 90), u"Rekrutierungskosten");
        m_out.value(m_random.range(500, 5000), u"Punkte");
        m_out.value(m_random.range(500, 5000), u"Punktedurchschnitt");
        m_out.quoted(u"Die Grauen Falken", u"Parteiname");
        m_out.quoted(u"falken@example.org", u"email");
        m_out.value(m_random.range(0, 5), u"Anzahl Immigranten");
        m_out.value(m_random.range(5, 12), u"Max. Immigranten");
        m_out.line(u"OPTIONEN");
        m_out.value(1, u"AUSWERTUNG");
        m_out.value(1, u"COMPUTER");
        m_stats.factions = 1;
    }

    void sections()
    {
        m_out.line(u"FEHLER");
        m_out.line(QStringLiteral("x\"Einheit %1: Befehl ZERSTOERE nicht erkannt.\"")
                       .arg(idText(m_firstUnit)));
        m_out.line(u"WARNUNGEN");
        m_out.line(u"x\"In Weidenau droht eine Hungersnot.\"");
        m_out.line(u"MELDUNGEN");
        m_out.line(u"x\"Ein Händler erzählt von fernen Inseln.\"");
        m_out.line(u"EREIGNISSE");
        m_out.line(u"x\"Die Orks in Schattental vermehren sich um 3 Orks.\"");
        m_out.line(u"x\"Die Orks in Moorgrund vermehren sich um 4 Orks.\"");
    }

    bool dense() const { return m_o.shape == ReportGenerator::Shape::DenseUnits; }
    // A map-heavy report has 100,000 regions for every 30 MB asked for; the others
    // stop at the first region past the size.
    bool enoughRegions() const
    {
        if (m_stats.regions == 0)
            return false;
        if (!mapHeavy())
            return m_out.written() >= m_o.targetBytes;
        return m_stats.regions >= qMax<qint64>(1, m_o.targetBytes * 100000 / (30LL << 20));
    }
    bool mapHeavy() const { return m_o.shape == ReportGenerator::Shape::MapHeavy; }

    // About one message for every 400 bytes of the report, as long reports have; a
    // map with few units has few messages.
    void messages()
    {
        const qint64 bytesPerMessage = mapHeavy() ? 4000 : 400;
        const int count = int(qMin<qint64>(m_o.targetBytes / bytesPerMessage, 2000000)) + 4;
        int id = 1000;
        for (int i = 0; i < count; ++i) {
            if (i == count / 2) {
                m_out.line(QStringLiteral("BATTLE %1 %2")
                               .arg(m_random.range(-5, 5))
                               .arg(m_random.range(-5, 5)));
                message(id++, 2224,
                    QStringLiteral("Die Wachen (%1) kämpfen tapfer.").arg(idText(m_firstUnit)), -1);
            }
            const QString unit = unitName() + QStringLiteral(" (")
                + idText(m_random.range(m_firstUnit, m_firstUnit + 5000)) + u')';
            const int kind = m_random.range(0, 9);
            if (kind < 4) {
                const int amount = m_random.range(10, 300);
                message(id++, 2097,
                    QStringLiteral("Die Einheit %1 verdient %2 Silber durch Arbeit.")
                        .arg(unit)
                        .arg(amount),
                    amount);
            } else if (kind < 6) {
                message(id++, 21740,
                    QStringLiteral("%1 produziert %2 Holz.").arg(unit).arg(m_random.range(1, 30)),
                    -1);
            } else if (kind == 6) {
                message(
                    id++, 364, QStringLiteral("%1 kauft 5 Seide für 200 Silber.").arg(unit), -1);
            } else if (kind == 7) {
                message(id++, 2420,
                    QStringLiteral("%1 reitet von Weidenau nach Süderau.").arg(unit), -1);
            } else if (kind == 8) {
                message(id++, 4419, QStringLiteral("%1 segelt nach Grünwald.").arg(unit), -1);
            } else {
                message(id++, 3633, QStringLiteral("%1 findet einen Schatz.").arg(unit), -1);
            }
        }
    }

    void message(int id, int type, const QString &text, int amount)
    {
        m_out.line(QStringLiteral("MESSAGE %1").arg(id));
        m_out.value(type, u"type");
        m_out.quoted(text, u"rendered");
        if (amount >= 0) {
            const QString plain = QString::number(amount) + QStringLiteral(";amount");
            // Some servers write a word where the amount stands; it adds nothing.
            if (m_o.foreign && m_shuffle.chance(5))
                m_out.lineInPlaceOf(u"\"viele\";amount", plain);
            else
                m_out.line(plain);
        }
        ++m_stats.messages;
    }

    QString factionName(int i) const
    {
        static const char16_t *const names[kForeignFactions]
            = {u"Bund der Eichen", u"Die Stillen", u"Nordwacht", u"Söhne des Sturms",
                u"Kinder der Flut", u"Eisenhand", u"Grauer Rat", u"Die Fünf"};
        return QString::fromUtf16(names[i]);
    }

    void alliances()
    {
        m_out.line(u"ALLIIERTE");
        for (int i = 0; i < 3; ++i) {
            m_out.value(m_o.faction + 1 + i, u"Partei");
            m_out.quoted(factionName(i), u"Parteiname");
            m_out.value(i == 2 ? 9 : 27, u"Status");
        }
        m_out.line(u"ADRESSEN");
        for (int i = 0; i < kForeignFactions; ++i) {
            m_out.value(m_o.faction + 1 + i, u"Partei");
            m_out.quoted(factionName(i), u"Parteiname");
            m_out.quoted(QStringLiteral("partei%1@example.org").arg(i + 1), u"email");
            if (i % 2 == 0)
                m_out.quoted(u"Gemeinsam stark", u"banner");
            ++m_stats.factions;
        }
    }

    void nextPosition(int *x, int *y, int *z)
    {
        // Most regions on level 0; every sixteenth one below ground on level 1.
        const bool deep = m_stats.regions % 16 == 15;
        int &k = deep ? m_deepIndex : m_surfaceIndex;
        *x = k % 256 - 128;
        *y = k / 256 - 128;
        *z = deep ? 1 : 0;
        ++k;
        if (deep && m_deepIndex == 1)
            ++m_stats.levels;
    }

    void region()
    {
        int x, y, z;
        nextPosition(&x, &y, &z);
        const bool ocean = m_random.chance(10);
        m_out.line(z == 0 ? QStringLiteral("REGION %1 %2").arg(x).arg(y)
                          : QStringLiteral("REGION %1 %2 %3").arg(x).arg(y).arg(z));
        ++m_stats.regions;

        // Units are known before the buildings and ships that name them as owners.
        QVector<PlannedUnit> units;
        int unitCount = ocean ? m_random.range(0, 3) : m_random.range(2, 10);
        if (dense() && !ocean)
            unitCount = 8 + m_random.range(0, 2);
        else if (mapHeavy())
            unitCount = m_random.chance(ocean ? 5 : 20) ? 1 : 0;
        for (int i = 0; i < unitCount; ++i) {
            m_unitNumber += m_random.range(1, 4);
            const bool own = dense() && !ocean ? i < 8 : m_random.chance(60);
            units.append({m_unitNumber, own,
                own ? m_o.faction : m_o.faction + m_random.range(1, kForeignFactions)});
        }
        QVector<int> buildings, ships;
        if (!ocean) {
            const int buildingChance = mapHeavy() ? 5 : 35;
            for (int n = m_random.range(0, 100) < buildingChance ? m_random.range(1, 2) : 0; n > 0;
                 --n)
                buildings.append(m_buildingNumber += m_random.range(1, 9));
        }
        if (m_random.chance(mapHeavy() ? 5 : ocean ? 60 : 15))
            ships.append(m_shipNumber += m_random.range(1, 9));
        for (PlannedUnit &u : units) {
            if (!buildings.isEmpty() && m_random.chance(40))
                u.building = buildings[m_random.range(0, int(buildings.size()) - 1)];
            else if (!ships.isEmpty() && (ocean || m_random.chance(30)))
                u.ship = ships.first();
        }

        if (ocean) {
            m_out.quoted(u"Ozean", u"Terrain");
            if (m_random.chance(20)) {
                m_out.line(u"DURCHREISE");
                m_out.line(
                    QStringLiteral("\"Seeschwalbe (%1)\"").arg(idText(m_random.range(10, 900))));
            }
        } else {
            landRegion();
        }
        for (int b : buildings)
            building(b, units);
        for (int s : ships)
            ship(s, units);
        for (const PlannedUnit &u : units)
            unit(u);
    }

    void landRegion()
    {
        ++m_stats.landRegions;
        const QString terrain = QString::fromUtf16(m_random.pick(kTerrains));
        m_out.quoted(QString::fromUtf16(m_random.pick(kRegionNames)), u"Name");
        m_out.quoted(terrain, u"Terrain");
        if (mapHeavy())
            m_out.quoted(longDescription(), u"Beschr");
        else
            m_out.quoted(u"Eine Gegend wie viele.", u"Beschr");
        m_out.value(m_random.range(0, 900), u"Baeume");
        m_out.value(m_random.range(200, 5000), u"Bauern");
        m_out.value(m_random.range(0, 90), u"Pferde");
        m_out.value(m_random.range(100, 90000), u"Silber");
        m_out.value(m_random.range(100, 5000), u"Unterh");
        m_out.value(m_random.range(0, 90), u"Rekruten");
        m_out.value(m_random.range(11, 15), u"Lohn");
        if (terrain == u"Berge") {
            m_out.value(m_random.range(10, 200), u"Eisen");
            m_out.value(m_random.range(-1, 20), u"Laen");
        }
        // The sub-blocks after the key lines, each a list of lines. Blocks of one chain
        // keep their order (later roads of a direction win, region messages go to one
        // page in order); with foreign blocks asked for, the chains are interleaved at
        // random and the prices come in any order and spelling.
        QList<SubBlock> blocks;
        SubBlock prices {{{QStringLiteral("PREISE")}}, 0};
        for (const char16_t *good : kPrices) {
            const QString plain
                = QString::number(m_random.range(-40, 140)) + u';' + QString::fromUtf16(good);
            prices.lines.append(SubBlockLine {plain, QString()});
        }
        blocks.append(prices);
        for (int n = m_random.range(0, mapHeavy() ? 1 : 2); n > 0; --n) {
            SubBlock border {{{QStringLiteral("GRENZE %1").arg(m_random.range(1, 99999))},
                                 {quotedLine(u"Straße", u"typ")}},
                1};
            border.lines.append(
                SubBlockLine {QString::number(m_random.range(0, 5)) + QStringLiteral(";richtung")});
            border.lines.append(
                {QString::number(m_random.pick({25, 50, 75, 100})) + QStringLiteral(";prozent")});
            blocks.append(border);
        }
        if (m_random.chance(30)) {
            SubBlock environment {
                {{QStringLiteral("UMGEBUNG")}, {QStringLiteral("\"Im Norden liegt ein Wald.\"")}},
                2};
            if (m_random.chance(50))
                environment.lines.append(
                    SubBlockLine {QStringLiteral("\"Ein Bach fließt nach Osten.\"")});
            blocks.append(environment);
        }
        if (m_random.chance(5))
            blocks.append(SubBlock {
                {{QStringLiteral("DURCHREISE")},
                    {QStringLiteral("\"Händlerzug (%1)\"").arg(idText(m_random.range(10, 900)))}},
                3});
        if (m_random.chance(10))
            blocks.append(
                SubBlock {{{QStringLiteral("MESSAGE %1").arg(m_random.range(100000, 999999))},
                              {QStringLiteral("3729;type")},
                              {quotedLine(u"Die Bauern feiern ein Fest.", u"rendered")}},
                    4});
        if (m_random.chance(3))
            blocks.append(SubBlock {{{QStringLiteral("REGIONSEREIGNISSE")},
                                        {QStringLiteral("\"Ein Sturm zieht auf.\"")}},
                5});
        if (m_random.chance(2))
            blocks.append(SubBlock {{{QStringLiteral("REGIONSBOTSCHAFTEN")},
                                        {QStringLiteral("\"Wir grüßen unsere Nachbarn.\"")}},
                5});
        if (m_o.foreign)
            shuffleSubBlocks(blocks);
        for (const SubBlock &b : blocks) {
            for (const SubBlockLine &l : b.lines) {
                if (l.plain.isEmpty())
                    m_out.line(l.text);
                else
                    m_out.lineInPlaceOf(l.text, l.plain);
            }
        }
    }

    // A line of a sub-block; `plain` is set when the line stands in place of another.
    struct SubBlockLine
    {
        QString text;
        QString plain;
    };
    struct SubBlock
    {
        QList<SubBlockLine> lines;
        int chain; // blocks of one chain keep their order
    };

    static QString quotedLine(QStringView text, QStringView key)
    {
        return u'"' + text.toString() + QStringLiteral("\";") + key.toString();
    }

    // The chains interleaved at random; the price lines shuffled, some goods spelled
    // with umlauts.
    void shuffleSubBlocks(QList<SubBlock> &blocks)
    {
        for (SubBlock &b : blocks) {
            if (b.lines.first().text != u"PREISE")
                continue;
            for (qsizetype i = b.lines.size() - 1; i > 1; --i)
                std::swap(b.lines[i], b.lines[m_shuffle.range(1, int(i))]);
            for (SubBlockLine &l : b.lines) {
                for (const auto &[plainKey, umlautKey] :
                    {std::pair {u";Gewuerz", u";Gewürz"}, std::pair {u";Oel", u";Öl"}}) {
                    if (l.text.endsWith(QStringView(plainKey)) && m_shuffle.chance(50)) {
                        l.plain = l.text;
                        l.text.chop(QStringView(plainKey).size());
                        l.text += QStringView(umlautKey);
                    }
                }
            }
        }
        QList<SubBlock> mixed;
        while (!blocks.isEmpty()) {
            // The first block of a chain picked at random.
            const int pick = m_shuffle.range(0, int(blocks.size()) - 1);
            qsizetype at = 0;
            while (blocks[at].chain != blocks[pick].chain)
                ++at;
            mixed.append(blocks.takeAt(at));
        }
        blocks = mixed;
    }

    // Two or three sentences of a region's description.
    QString longDescription()
    {
        static const char16_t *const sentences[] = {u"Sanfte Hügel ziehen sich bis zum Horizont.",
            u"Im Frühjahr blühen hier die Wiesen.", u"Alte Mauern erzählen von besseren Zeiten.",
            u"Ein kalter Wind weht von den Bergen herab.",
            u"Die Bauern leben vom Korn und vom Vieh.",
            u"Zwischen den Feldern stehen vereinzelte Eichen.",
            u"Nebel liegt oft über den Tälern."};
        QString text;
        for (int n = m_random.range(2, 3); n > 0; --n) {
            if (!text.isEmpty())
                text += u' ';
            text += QString::fromUtf16(m_random.pick(sentences));
        }
        return text;
    }

    const PlannedUnit *firstIn(const QVector<PlannedUnit> &units, int building, int ship) const
    {
        for (const PlannedUnit &u : units) {
            if ((building && u.building == building) || (ship && u.ship == ship))
                return &u;
        }
        return nullptr;
    }

    void building(int number, const QVector<PlannedUnit> &units)
    {
        const PlannedUnit *owner = firstIn(units, number, 0);
        m_out.line(QStringLiteral("BURG %1").arg(number));
        m_out.quoted(u"Burg", u"Typ");
        m_out.quoted(QStringLiteral("Feste %1").arg(idText(number)), u"Name");
        m_out.value(m_random.range(2, 300), u"Groesse");
        if (owner) {
            m_out.value(owner->number, u"Besitzer");
            m_out.value(owner->faction, u"Partei");
        }
        if (m_random.chance(30))
            m_out.value(m_random.range(0, 100), u"Unterhalt");
        ++m_stats.buildings;
    }

    void ship(int number, const QVector<PlannedUnit> &units)
    {
        const PlannedUnit *captain = firstIn(units, 0, number);
        m_out.line(QStringLiteral("SCHIFF %1").arg(number));
        m_out.quoted(QStringLiteral("Möwe %1").arg(idText(number)), u"Name");
        m_out.quoted(QString::fromUtf16(m_random.pick(kShipTypes)), u"Typ");
        m_out.value(m_random.range(1, 250), u"Groesse");
        if (captain) {
            m_out.value(captain->number, u"Kapitaen");
            m_out.value(captain->faction, u"Partei");
        }
        m_out.value(m_random.range(0, 5), u"Kueste");
        if (m_random.chance(40)) {
            m_out.value(m_random.range(0, 500), u"Ladung");
            m_out.value(m_random.range(500, 2000), u"MaxLadung");
        }
        ++m_stats.ships;
    }

    void unit(const PlannedUnit &u)
    {
        const QString name = unitName();
        m_out.line(QStringLiteral("EINHEIT %1").arg(u.number));
        m_out.quoted(name, u"Name");
        m_out.value(u.faction, u"Partei");
        if (!u.own && m_random.chance(5))
            m_out.value(1, u"Parteitarnung");
        m_out.value(m_random.range(1, 40), u"Anzahl");
        m_out.quoted(QString::fromUtf16(m_random.pick(kRaces)), u"Typ");
        if (u.building)
            m_out.value(u.building, u"Burg");
        else if (u.ship)
            m_out.value(u.ship, u"Schiff");
        if (m_random.chance(50))
            m_out.value(m_random.range(0, 3), u"Kampfstatus");
        ++m_stats.units;
        if (!u.own) {
            if (m_random.chance(50)) {
                m_out.line(u"GEGENSTAENDE");
                m_out.value(m_random.range(1, 3000), u"Silber");
            }
            return;
        }
        ++m_stats.ownUnits;
        if (dense()) {
            denseUnit();
            return;
        }
        const bool mage = name == u"Magier";
        if (m_random.chance(10))
            m_out.value(1, u"bewacht");
        if (m_random.chance(20))
            m_out.quoted(u"gut", u"hp");
        if (m_random.chance(15)) {
            m_out.value(m_random.range(0, 500), u"Ladung");
            m_out.value(m_random.range(500, 2000), u"Kapazitaet");
        }
        if (mage) {
            m_out.value(m_random.range(0, 30), u"Aura");
            m_out.value(30, u"Auramax");
        }
        m_out.line(u"COMMANDS");
        for (int n = m_random.range(0, 4); n > 0; --n) {
            m_out.line(u'"' + QString::fromUtf16(m_random.pick(kOrders)) + u'"');
            ++m_stats.orders;
        }
        m_out.line(u"TALENTE");
        for (int n = m_random.range(1, 4); n > 0; --n) {
            const int level = m_random.range(1, 9);
            m_out.line(QStringLiteral("%1 %2;").arg(level * m_random.range(30, 300)).arg(level)
                + QString::fromUtf16(m_random.pick(kSkills)));
        }
        if (m_random.chance(1))
            m_out.line(u"120 1;Zauberkunde");
        if (mage) {
            m_out.line(u"SPRUECHE");
            m_out.line(u'"' + QString::fromUtf16(m_random.pick(kSpells)) + u'"');
        }
        m_out.line(u"GEGENSTAENDE");
        m_out.value(m_random.range(0, 3000), u"Silber");
        for (int n = m_random.range(0, 3); n > 0; --n)
            m_out.value(m_random.range(1, 40), m_random.pick(kItems));
        if (m_random.chance(1))
            m_out.value(2, u"Sonnensegel");
        if (m_random.chance(2)) {
            m_out.line(u"EINHEITSBOTSCHAFTEN");
            m_out.line(u"\"Gute Reise!\"");
        }
    }

    // The rest of an own unit of the dense shape: 3 orders, 6 skills, 10 items.
    void denseUnit()
    {
        m_out.line(u"COMMANDS");
        for (int n = 0; n < 3; ++n) {
            m_out.line(u'"' + QString::fromUtf16(m_random.pick(kOrders)) + u'"');
            ++m_stats.orders;
        }
        m_out.line(u"TALENTE");
        const int firstSkill = m_random.range(0, 15);
        for (int n = 0; n < 6; ++n) {
            const int level = m_random.range(1, 9);
            m_out.line(QStringLiteral("%1 %2;").arg(level * m_random.range(30, 300)).arg(level)
                + QString::fromUtf16(kSkills[(firstSkill + n * 5) % 16]));
        }
        m_out.line(u"GEGENSTAENDE");
        m_out.value(m_random.range(0, 3000), u"Silber");
        const int firstItem = m_random.range(0, 14);
        for (int n = 0; n < 10; ++n)
            m_out.value(m_random.range(1, 40), kItems[(firstItem + n * 2) % 15]);
    }

    const ReportGenerator::Options &m_o;
    LineWriter &m_out;
    ReportGenerator::Stats &m_stats;
    Random m_random;
    Random m_shuffle; // only for foreign reports: the plain report never draws from it
    const int m_firstUnit = 100;
    int m_unitNumber = 100;
    int m_buildingNumber = 100;
    int m_shipNumber = 100;
    int m_surfaceIndex = 0;
    int m_deepIndex = 0;
};

} // namespace

ReportGenerator::ReportGenerator(const Options &options)
    : m_options(options)
{
}

ReportGenerator::Stats ReportGenerator::write(QIODevice &device)
{
    Stats stats;
    LineWriter out(device,
        m_options.game == Game::Kalmora ? TextEncoding::Windows1252 : TextEncoding::Utf8,
        m_options.crlf, stats, m_options);
    Writer(m_options, out, stats).run();
    return stats;
}

ReportGenerator::Stats ReportGenerator::writeFile(const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw UserError(QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2")
                            .arg(QDir::toNativeSeparators(path), file.errorString()));
    const Stats stats = write(file);
    if (!file.commit())
        throw UserError(QStringLiteral("Die Datei %1 kann nicht geschrieben werden: %2")
                            .arg(QDir::toNativeSeparators(path), file.errorString()));
    return stats;
}

QByteArray ReportGenerator::generate(Stats *stats)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const Stats s = write(buffer);
    if (stats)
        *stats = s;
    return bytes;
}

bool ReportGenerator::parseShape(const QString &text, Shape *shape)
{
    for (Shape s : {Shape::Standard, Shape::DenseUnits, Shape::MapHeavy}) {
        if (text == shapeName(s)) {
            *shape = s;
            return true;
        }
    }
    return false;
}

QString ReportGenerator::shapeName(Shape shape)
{
    switch (shape) {
    case Shape::DenseUnits:
        return QStringLiteral("dense");
    case Shape::MapHeavy:
        return QStringLiteral("map");
    case Shape::Standard:
        break;
    }
    return QStringLiteral("standard");
}

qint64 ReportGenerator::parseSize(const QString &text)
{
    if (text.isEmpty())
        return -1;
    qint64 factor = 1;
    QString digits = text;
    const QChar last = text.back().toUpper();
    if (last == u'K' || last == u'M' || last == u'G') {
        factor = last == u'K' ? 1024 : last == u'M' ? 1024 * 1024 : qint64(1024) * 1024 * 1024;
        digits.chop(1);
    }
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    return ok && value >= 0 ? value * factor : -1;
}

} // namespace tolvimar
