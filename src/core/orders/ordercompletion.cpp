#include "ordercompletion.h"

#include "orderline.h"
#include "ordervocabulary.h"

namespace tolvimar {

namespace {

class Offer
{
public:
    Offer(QStringView prefix, int limit)
        : m_prefix(prefix)
        , m_limit(limit)
    {
    }
    bool full() const { return m_limit >= 0 && m_words.size() >= m_limit; }
    void add(const QString &word, const QString &label = QString())
    {
        if (full() || !word.startsWith(m_prefix, Qt::CaseInsensitive))
            return;
        if (!m_seen.contains(word.toLower())) {
            m_seen.insert(word.toLower());
            m_words.append(word);
            m_labels.append(label.isEmpty() ? word : label);
        }
    }
    // Ids with their names beside them.
    void addIds(const QStringList &ids, ArgumentKind kind, const OrderVocabulary &vocabulary)
    {
        for (const QString &id : ids) {
            const QString name = vocabulary.idName(kind, id);
            add(id, name.isEmpty() ? id : id + QStringLiteral("  ") + name);
        }
    }
    void add(const QStringList &words)
    {
        for (const QString &w : words)
            add(w);
    }
    int room() const { return m_limit < 0 ? -1 : m_limit - int(m_words.size()); }
    QStringList words() const { return m_words; }
    QStringList labels() const { return m_labels; }

private:
    QStringView m_prefix;
    int m_limit;
    QStringList m_words;
    QStringList m_labels;
    QSet<QString> m_seen;
};

} // namespace

Completion candidates(QStringView line, qsizetype cursor, const OrderVocabulary &vocabulary,
    const CompletionPlace &place, int limit)
{
    Completion completion;
    const QStringView text = line.left(qBound<qsizetype>(0, cursor, line.size()));
    completion.start = text.size();
    const QList<OrderToken> tokens = readOrderLine(text, vocabulary);
    for (const OrderToken &t : tokens) {
        if (t.type == OrderToken::Type::Comment)
            return completion;
    }
    const bool typing = !tokens.isEmpty()
        && tokens.last().start + tokens.last().length == text.size() && !text.back().isSpace();
    if (!tokens.isEmpty() && tokens.last().type == OrderToken::Type::String) {
        const QStringView last = text.mid(tokens.last().start, tokens.last().length);
        if (typing || last.size() < 2 || !last.endsWith(u'"'))
            return completion; // in a string, or right after one
    }
    const qsizetype index = typing ? tokens.size() - 1 : tokens.size();
    if (typing) {
        completion.start = tokens.last().start;
        completion.prefix = text.mid(completion.start).toString();
    }

    Offer offer(completion.prefix, limit);
    const OrderLanguage &language = vocabulary.language();
    if (index == 0) {
        // A word typed whole comes first; then the others in alphabetical order.
        if (language.knows(completion.prefix))
            offer.add(completion.prefix.toUpper());
        offer.add(language.words());
        completion.words = offer.words();
        completion.labels = offer.labels();
        return completion;
    }
    if (tokens.first().type != OrderToken::Type::Word)
        return completion;
    const OrderWord *word = language.word(text.mid(tokens.first().start, tokens.first().length));
    if (!word)
        return completion;
    QList<QStringView> arguments;
    for (qsizetype i = 1; i < index; ++i)
        arguments.append(text.mid(tokens[i].start, tokens[i].length));
    const QList<ArgumentChoice> choices = expectedChoices(*word, arguments, vocabulary);

    // Before anything is typed only the region's own ids are offered, not every id of
    // the game.
    const bool elsewhereToo = !completion.prefix.isEmpty() || place.position.isEmpty();
    // The order's own words first, then the names and ids its forms expect.
    for (const ArgumentChoice &c : choices) {
        if (c.kind == ArgumentKind::Literal)
            offer.add(c.literal);
    }
    for (const ArgumentChoice &c : choices) {
        switch (c.kind) {
        case ArgumentKind::Unit: {
            // The unit itself is never offered: ask for one more.
            const int room = offer.room();
            QStringList ids = vocabulary.ids(
                c.kind, place.position, completion.prefix, room < 0 ? -1 : room + 1, elsewhereToo);
            ids.removeIf([&place](const QString &id) {
                return id.compare(place.unitText, Qt::CaseInsensitive) == 0;
            });
            offer.addIds(ids, c.kind, vocabulary);
            break;
        }
        case ArgumentKind::Faction:
            offer.addIds(vocabulary.ids(c.kind, QString(), completion.prefix, offer.room()), c.kind,
                vocabulary);
            break;
        case ArgumentKind::Ship:
        case ArgumentKind::Castle:
            offer.addIds(vocabulary.ids(
                             c.kind, place.position, completion.prefix, offer.room(), elsewhereToo),
                c.kind, vocabulary);
            break;
        case ArgumentKind::Skill:
        case ArgumentKind::Item:
        case ArgumentKind::Luxury:
        case ArgumentKind::Direction:
            offer.add(vocabulary.names(c.kind));
            break;
        case ArgumentKind::Literal:
        case ArgumentKind::Number:
        case ArgumentKind::Text:
            break;
        }
    }
    completion.words = offer.words();
    completion.labels = offer.labels();
    return completion;
}

} // namespace tolvimar
