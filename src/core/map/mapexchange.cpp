#include "mapexchange.h"

#include "../base/errors.h"
#include "../base/position.h"
#include "../base/prompter.h"
#include "../base/textfile.h"
#include "../db/database.h"
#include "../db/schema.h"
#include "../db/table.h"

#include <QDir>
#include <algorithm>
#include <map>

namespace tolvimar {

namespace {

const QString kImportTitle = QStringLiteral("Kartendaten importieren");
const QString kWholeMapTitle = QStringLiteral("Gesamtkarte exportieren");
const QString kAreaTitle = QStringLiteral("Kartenbereich exportieren");

QStringList saveFilters()
{
    return {QStringLiteral("Alle (*.*)"), QStringLiteral("Textdateien (*.txt)")};
}

// Map data files larger than this are refused before they are read.
constexpr qint64 kMaxMapDataBytes = qint64(256) << 20;
const QString kUtf8Line = QStringLiteral("\"UTF-8\";charset");

// A value line: a quotation mark, the value, "\";" and the key. In a value a line
// break becomes backslash n (or r), a quotation mark before a semicolon (which would
// end the value) gets a backslash, and so does a backslash that would start one of
// these; any other value is written as it is, as the report writes it.
QString valueLine(const QString &value, const QString &key)
{
    QString line = QStringLiteral("\"");
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        const QChar next = i + 1 < value.size() ? value[i + 1] : QChar();
        if (c == u'\n')
            line += QStringLiteral("\\n");
        else if (c == u'\r')
            line += QStringLiteral("\\r");
        else if (c == u'"' && next == u';')
            line += QStringLiteral("\\\"");
        else if (c == u'\\'
            && (next.isNull() || next == u'\\' || next == u'"' || next == u'n' || next == u'r'))
            line += QStringLiteral("\\\\");
        else
            line += c;
    }
    return line + QStringLiteral("\";") + key;
}

// The value and the key of a value line: from the second character up to the first
// "\";" that is not escaped, and the key after it (empty when there is none).
struct ValueLine
{
    QString value;
    QString key;
};

ValueLine parseValueLine(QStringView line)
{
    ValueLine parsed;
    for (qsizetype i = 1; i < line.size(); ++i) {
        const QChar c = line[i];
        const QChar next = i + 1 < line.size() ? line[i + 1] : QChar();
        if (c == u'\\' && (next == u'\\' || next == u'"' || next == u'n' || next == u'r')) {
            parsed.value += next == u'n' ? QChar(u'\n') : next == u'r' ? QChar(u'\r') : next;
            ++i;
        } else if (c == u'"' && next == u';') {
            parsed.key = line.mid(i + 2).trimmed().toString();
            return parsed;
        } else {
            parsed.value += c;
        }
    }
    return {};
}

// A quoted line is a value (a name may hold any word); any other line naming REGION
// ends the block of the region before it.
bool endsRegionBlock(QStringView line)
{
    return !line.startsWith(u'"') && line.contains(u"REGION");
}

struct Header
{
    int x = 0;
    int y = 0;
    int level = 0;
};

[[noreturn]] void badNumber(
    const QString &fileName, int lineIndex, QStringView line, QStringView value)
{
    throw UserError(QStringLiteral("Fehler beim Einlesen der Kartendaten %1, Zeile %2: \"%3\" ist "
                                   "keine gültige Zahl.\nZeile: %4\nDie Kartendaten wurden nicht "
                                   "übernommen; die Datenbank ist unverändert.")
                        .arg(QDir::toNativeSeparators(fileName))
                        .arg(lineIndex + 1)
                        .arg(value.left(200).toString(), line.left(200).toString()));
}

// "REGION x y" or "REGION x y z", read as the report's region headers are: the numbers
// after single blanks, the level 0 when there are only two.
Header parseHeader(QStringView line, int lineIndex, const QString &fileName)
{
    const qsizetype b1 = line.indexOf(u' ');
    const QStringView afterKeyword = line.mid(b1 + 1);
    const qsizetype b2 = afterKeyword.indexOf(u' ');
    const QStringView xText = b2 < 0 ? afterKeyword : afterKeyword.left(b2);
    const QStringView rest = b2 < 0 ? QStringView() : afterKeyword.mid(b2 + 1);
    const qsizetype b3 = rest.indexOf(u' ');
    const QStringView yText = b3 < 0 ? rest : rest.left(b3);
    Header h;
    auto number = [&](QStringView text, int *value) {
        if (!parseStrictInt(text, value))
            badNumber(fileName, lineIndex, line, text);
    };
    number(xText, &h.x);
    number(yText, &h.y);
    if (b3 >= 0)
        number(rest.mid(b3 + 1), &h.level);
    return h;
}

} // namespace

MapExchange::MapExchange(Database &db, int game, Prompter &prompter)
    : m_db(db)
    , m_game(game)
    , m_prompter(prompter)
    , m_queries(db)
{
}

bool MapExchange::inExportArea(qint64 dx, qint64 dy, qint64 radius)
{
    if (radius < 0 || dx < -radius || dx > radius || dy < -radius || dy > radius)
        return false;
    return !((dx == radius && dy > 0) || (dx == -radius && dy < 0) || (dy == radius && dx > 0)
        || (dy == -radius && dx < 0));
}

QStringList MapExchange::regionLines(const MapDataRow &row)
{
    QString header
        = QStringLiteral("REGION ") + QString::number(row.x) + u' ' + QString::number(row.y);
    if (row.level != 0)
        header += u' ' + QString::number(row.level);
    QStringList lines {header, valueLine(row.terrain, QStringLiteral("Terrain"))};
    if (row.terrain != u"Ozean")
        lines.append(valueLine(row.name, QStringLiteral("Name")));
    return lines;
}

QStringList MapExchange::wholeMapLines(std::optional<int> level)
{
    QStringList lines;
    for (const MapDataRow &row : m_queries.mapDataRows(m_game, level))
        lines += regionLines(row);
    return lines;
}

QStringList MapExchange::areaLines(const QPoint &centre, int radius, std::optional<int> level)
{
    if (radius < 0)
        return {};
    const qint64 x = centre.x();
    const qint64 y = centre.y();
    // Keyed by (-y, -x): the file runs from the top row down, each row from the right.
    // Rows come by level within a cell, so the first one kept is the lowest level.
    std::map<std::pair<qint64, qint64>, MapDataRow> cells;
    for (const MapDataRow &row : m_queries.mapDataRowsWithin(
             m_game, x - radius, x + radius, y - radius, y + radius, level)) {
        if (inExportArea(row.x - x, row.y - y, radius))
            cells.try_emplace({-qint64(row.y), -qint64(row.x)}, row);
    }
    QStringList lines;
    for (const auto &cell : cells)
        lines += regionLines(cell.second);
    return lines;
}

void MapExchange::writeLines(const QString &path, QStringList lines)
{
    // Windows-1252 as map data always was, unless a name needs more: then UTF-8, said
    // in a first line that readers without it skip as they skip all before a region.
    const bool plain = std::all_of(lines.cbegin(), lines.cend(),
        [](const QString &line) { return isEncodable(line, TextEncoding::Windows1252); });
    if (!plain)
        lines.prepend(kUtf8Line);
    writeTextLines(path, lines, plain ? TextEncoding::Windows1252 : TextEncoding::Utf8, "\r\n");
}

QString MapExchange::writeWholeMap(const QString &path, std::optional<int> level)
{
    writeLines(path, wholeMapLines(level));
    return QStringLiteral("Exportieren der Gesamtkarte in Datei: ") + QDir::toNativeSeparators(path)
        + QStringLiteral(" erfolgreich durchgeführt.");
}

QString MapExchange::writeArea(
    const QString &path, const QPoint &centre, int radius, std::optional<int> level)
{
    writeLines(path, areaLines(centre, radius, level));
    return QStringLiteral("Exportieren des Kartenteiles in Datei: ")
        + QDir::toNativeSeparators(path) + QStringLiteral(" erfolgreich durchgeführt.");
}

void MapExchange::exportWholeMap(std::optional<int> level)
{
    const QString path = m_prompter.saveFileName(kWholeMapTitle, saveFilters(), 1, true);
    if (path.isEmpty())
        return;
    QString message;
    try {
        BusyScope busy(m_prompter);
        message = writeWholeMap(path, level);
    } catch (const UserError &e) {
        m_prompter.message(Prompter::Kind::Error, kWholeMapTitle, e.message());
        return;
    }
    m_prompter.message(Prompter::Kind::Information, kWholeMapTitle, message);
}

void MapExchange::exportArea(const MarkedRegion &marked, std::optional<int> level)
{
    std::optional<QString> name;
    if (marked.place) {
        if (const auto row
            = m_queries.regionRow(m_game, marked.place->x, marked.place->y, marked.place->level))
            name = row->name;
    }
    if (!name || name->isEmpty() || marked.caption.isEmpty()) {
        m_prompter.message(Prompter::Kind::Information, kAreaTitle,
            QStringLiteral("Es ist noch keine Region markiert. Bitte zuerst den Mittelpunkt des "
                           "Exportbereichs markieren."));
        return;
    }
    const QString path = m_prompter.saveFileName(kAreaTitle, saveFilters(), 1, true);
    if (path.isEmpty())
        return;
    const QPoint centre(marked.place->x, marked.place->y);
    const QString answer = m_prompter.askText(QStringLiteral("Kartenteilexport"),
        QStringLiteral("Exportradius um ") + *name + QStringLiteral("  (")
            + positionText(centre.x(), centre.y()) + QStringLiteral(")?"),
        QStringLiteral("8"));
    int radius = 0;
    if (!parseStrictInt(answer, &radius)) {
        m_prompter.message(Prompter::Kind::Error, kAreaTitle,
            QStringLiteral("\"%1\" ist keine gültige Zahl. Der Exportradius muss eine ganze Zahl "
                           "sein; es wurde nichts exportiert.")
                .arg(answer.left(200)));
        return;
    }
    QString message;
    try {
        BusyScope busy(m_prompter);
        message = writeArea(path, centre, radius, level);
    } catch (const UserError &e) {
        m_prompter.message(Prompter::Kind::Error, kAreaTitle, e.message());
        return;
    }
    m_prompter.message(Prompter::Kind::Information, kAreaTitle, message);
}

QString MapExchange::askImportFile()
{
    return m_prompter.openFileName(
        kImportTitle, {QStringLiteral("Textdateien (*.txt)"), QStringLiteral("Alle (*.*)")});
}

int MapExchange::importFile(const QString &path)
{
    QStringList lines;
    try {
        const QByteArray bytes = readRegularFile(path, kMaxMapDataBytes);
        const QString notText = notTextReason(bytes);
        if (!notText.isEmpty())
            throw UserError(QStringLiteral("Die Kartendaten %1 können nicht gelesen werden: %2. "
                                           "Es wurde nichts übernommen.")
                                .arg(QDir::toNativeSeparators(path), notText));
        const bool utf8 = QByteArrayView(bytes).trimmed().startsWith(kUtf8Line.toLatin1());
        lines = splitLines(utf8 ? decodeTextAs(bytes, TextEncoding::Utf8) : decodeText(bytes));
    } catch (const std::bad_alloc &) {
        throw UserError(QStringLiteral("Die Kartendaten %1 sind zu groß für den verfügbaren "
                                       "Speicher.")
                            .arg(QDir::toNativeSeparators(path)));
    }
    return importLines(lines, path);
}

int MapExchange::importLines(const QStringList &lines, const QString &fileName)
{
    Transaction transaction(m_db);
    Table regions(m_db, schema::regionen());
    const int spiel = regions.field(u"Spiel");
    const int breite = regions.field(u"Breite");
    const int laenge = regions.field(u"Länge");
    const int ebene = regions.field(u"Ebene");
    const int name = regions.field(u"Regionname");
    const int typ = regions.field(u"Regiontyp");
    int added = 0;
    const int count = int(lines.size());
    if (std::none_of(lines.cbegin(), lines.cend(),
            [](const QString &line) { return line.startsWith(u"REGION "); }))
        throw UserError(QStringLiteral("Die Datei %1 enthält keine Kartendaten: keine Zeile "
                                       "\"REGION x y\". Es wurde nichts übernommen.")
                            .arg(QDir::toNativeSeparators(fileName)));
    int i = 0;
    while (i < count) {
        const QString &line = lines[i];
        if (!line.startsWith(u"REGION ")) {
            ++i;
            continue;
        }
        const Header h = parseHeader(line, i, fileName);
        ++i;
        if (regions.findKey({m_game, h.x, h.y, h.level}))
            continue;
        regions.append();
        regions.setValue(spiel, m_game);
        regions.setValue(name, QStringLiteral("unbekannt"));
        regions.setValue(breite, h.x);
        regions.setValue(laenge, h.y);
        regions.setValue(ebene, h.level);
        for (; i < count && !endsRegionBlock(lines[i]); ++i) {
            const ValueLine value = parseValueLine(lines[i]);
            if (value.key == u"Terrain")
                regions.setValue(typ, value.value);
            else if (value.key == u"Name")
                regions.setValue(name, value.value);
        }
        if (regions.text(typ) == u"Ozean")
            regions.setValue(name, QStringLiteral("Ozean"));
        regions.post();
        ++added;
    }
    transaction.commit();
    return added;
}

} // namespace tolvimar
