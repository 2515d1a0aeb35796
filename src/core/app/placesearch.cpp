#include "placesearch.h"

#include "../base/identifiers.h"
#include "../base/identifiertext.h"
#include "../base/position.h"
#include "../db/statementreading.h"

#include <QRegularExpression>
#include <QSet>

namespace tolvimar {

namespace {

QString regionText(const QString &name, const Position &place)
{
    const QString where = positionText(place);
    return name.isEmpty() ? QStringLiteral("Region ") + where
                          : QStringLiteral("Region ") + name + QStringLiteral(" (") + where + u')';
}

// A LIKE pattern that narrows the rows for a text of ASCII letters, whose case LIKE
// ignores; other texts are compared in full afterwards.
QString likePattern(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() > 127)
            return QStringLiteral("%");
    }
    QString escaped = text;
    escaped.replace(u'\\', QStringLiteral("\\\\"));
    escaped.replace(u'%', QStringLiteral("\\%"));
    escaped.replace(u'_', QStringLiteral("\\_"));
    return u'%' + escaped + u'%';
}

} // namespace

PlaceSearch::PlaceSearch(Database &db)
    : m_db(db)
{
}

std::optional<PlaceHit> PlaceSearch::unitPlace(const ActiveGame &game, int number)
{
    const auto s = prepareRead(
        m_db, QStringLiteral(R"(SELECT "Einheit Name", "Einheit Position" FROM "einheiten"
           WHERE "Spiel" = ? AND "Einheit Nr" = ? ORDER BY "Info Datum" DESC)"));
    s->bind(0, game.number);
    s->bind(1, number);
    StatementReading r(*s);
    while (r.next()) {
        const std::optional<Position> p = parsePosition(r.text(1));
        if (!p)
            continue;
        PlaceHit hit {PlaceHit::Kind::Unit, *p, number, QString()};
        hit.text = QStringLiteral("Einheit ") + r.text(0) + QStringLiteral(" (")
            + idToStr(number, game.base) + QStringLiteral(") in ") + positionText(*p);
        return hit;
    }
    return std::nullopt;
}

QVector<PlaceHit> PlaceSearch::find(
    const ActiveGame &game, const QString &input, int shownLevel, int limit)
{
    const QString text = input.trimmed();
    QVector<PlaceHit> hits;
    if (text.isEmpty() || limit <= 0)
        return hits;
    QSet<int> units;

    static const QRegularExpression coordinatePattern(
        QStringLiteral(R"(^(-?\d+)\s*[/,]\s*(-?\d+)(?:\s*/\s*(-?\d+))?$)"));
    const QRegularExpressionMatch match = coordinatePattern.match(text);
    if (match.hasMatch()) {
        bool ok[3] = {true, true, true};
        const int x = match.captured(1).toInt(&ok[0]);
        const int y = match.captured(2).toInt(&ok[1]);
        const bool levelGiven = match.hasCaptured(3);
        const int level = levelGiven ? match.captured(3).toInt(&ok[2]) : shownLevel;
        if (ok[0] && ok[1] && ok[2]) {
            const auto s = prepareRead(m_db, QStringLiteral(R"(SELECT "Regionname" FROM "regionen"
                   WHERE "Spiel" = ? AND "Breite" = ? AND "Länge" = ? AND "Ebene" = ?)"));
            s->bind(0, game.number);
            s->bind(1, x);
            s->bind(2, y);
            s->bind(3, level);
            StatementReading r(*s);
            const QString name = r.next() ? r.text(0) : QString();
            const Position place {x, y, level};
            hits.append({PlaceHit::Kind::Region, place, 0, regionText(name, place)});
        }
        return hits;
    }

    int number = 0;
    if (parseIdentifierText(text, game.base, &number)) {
        if (const std::optional<PlaceHit> unit = unitPlace(game, number)) {
            hits.append(*unit);
            units.insert(number);
        }
    }

    const QString pattern = likePattern(text);
    {
        const auto s = prepareRead(
            m_db, QStringLiteral(R"(SELECT "Breite", "Länge", "Ebene", "Regionname" FROM "regionen"
               WHERE "Spiel" = ? AND "Regionname" LIKE ? ESCAPE '\'
               ORDER BY "Ebene" <> ?, "Regionname", "Ebene", "Breite", "Länge")"));
        s->bind(0, game.number);
        s->bind(1, pattern);
        s->bind(2, shownLevel);
        StatementReading r(*s);
        while (hits.size() < limit && r.next()) {
            const QString name = r.text(3);
            if (!name.contains(text, Qt::CaseInsensitive))
                continue;
            const Position place {r.integer(0), r.integer(1), r.integer(2)};
            hits.append({PlaceHit::Kind::Region, place, 0, regionText(name, place)});
        }
    }
    {
        // Newest rows first: the first row seen of a unit is where it is now.
        const auto s = prepareRead(
            m_db, QStringLiteral(R"(SELECT "Einheit Nr", "Einheit Name", "Einheit Position"
               FROM "einheiten" WHERE "Spiel" = ? AND "Einheit Name" LIKE ? ESCAPE '\'
               ORDER BY "Info Datum" DESC, "Einheit Nr")"));
        s->bind(0, game.number);
        s->bind(1, pattern);
        StatementReading r(*s);
        while (hits.size() < limit && r.next()) {
            const int unit = r.integer(0);
            const QString name = r.text(1);
            if (units.contains(unit) || !name.contains(text, Qt::CaseInsensitive))
                continue;
            const std::optional<Position> p = parsePosition(r.text(2));
            if (!p)
                continue;
            units.insert(unit);
            hits.append({PlaceHit::Kind::Unit, *p, unit,
                QStringLiteral("Einheit ") + name + QStringLiteral(" (") + idToStr(unit, game.base)
                    + QStringLiteral(") in ") + positionText(*p)});
        }
    }
    return hits;
}

} // namespace tolvimar
