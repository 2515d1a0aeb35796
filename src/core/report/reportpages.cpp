#include "reportpages.h"

#include <algorithm>

namespace tolvimar {

namespace {

QString sortKey(const QString &s)
{
    QString key;
    key.reserve(s.size());
    for (QChar c : s) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            key += QChar(u >= u'A' && u <= u'Z' ? char16_t(u + 32) : u);
            continue;
        }
        switch (c.toLower().unicode()) {
        case u'ä':
            key += u'a';
            break;
        case u'ö':
            key += u'o';
            break;
        case u'ü':
            key += u'u';
            break;
        case u'ß':
            key += QStringLiteral("ss");
            break;
        default:
            key += c.toLower();
        }
    }
    return key;
}

} // namespace

bool sortsBefore(const QString &a, const QString &b)
{
    return sortKey(a) < sortKey(b);
}

void ReportPages::append(Page p, const QString &line)
{
    lines[int(p)].append(line);
}

void ReportPages::sortIncome()
{
    QStringList &list = lines[int(Page::Einkommen)];
    QList<QPair<QString, QString>> keyed;
    keyed.reserve(list.size());
    for (const QString &item : list)
        keyed.append({sortKey(item), item});
    std::stable_sort(
        keyed.begin(), keyed.end(), [](const auto &a, const auto &b) { return a.first < b.first; });
    for (qsizetype i = 0; i < list.size(); ++i)
        list[i] = keyed[i].second;
}

void ReportPages::cleanup()
{
    for (Page p : {Page::Kaempfe, Page::Warnungen, Page::Buendnisse, Page::Ereignisse,
             Page::Einkommen, Page::Handel, Page::Produktion, Page::Bewegungen,
             Page::Geheimdienstbericht, Page::Einreisebericht, Page::Botschaften})
        // A fresh list, not clear(): clearing a list shared with the previous pages
        // would allocate an empty one of the old capacity.
        lines[int(p)] = QStringList();
}

QString pageTitle(Page p)
{
    switch (p) {
    case Page::Kaempfe:
        return QStringLiteral("Kämpfe");
    case Page::Warnungen:
        return QStringLiteral("Warnungen");
    case Page::Ereignisse:
        return QStringLiteral("Ereignisse");
    case Page::Einkommen:
        return QStringLiteral("Einkommen");
    case Page::Handel:
        return QStringLiteral("Handel");
    case Page::Produktion:
        return QStringLiteral("Produktion");
    case Page::Bewegungen:
        return QStringLiteral("Bewegungen");
    case Page::Meldungen:
        return QStringLiteral("Meldungen");
    case Page::Geheimdienstbericht:
        return QStringLiteral("Geheimdienstbericht");
    case Page::Einreisebericht:
        return QStringLiteral("Einreisebericht");
    case Page::Botschaften:
        return QStringLiteral("Botschaften");
    case Page::Buendnisse:
        return QStringLiteral("Bündnisse mit :");
    case Page::Count:
        break;
    }
    return QString();
}

} // namespace tolvimar
