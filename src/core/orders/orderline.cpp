#include "orderline.h"

#include "ordervocabulary.h"

namespace tolvimar {

namespace {

bool isDigits(QStringView text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// A number as a line may show it: digits, a sign, commas between ("1,2" of a region).
bool looksLikeNumber(QStringView text)
{
    if (text.startsWith(u'-'))
        text = text.mid(1);
    if (text.isEmpty() || text.startsWith(u',') || text.endsWith(u','))
        return false;
    for (QChar c : text) {
        if ((c < u'0' || c > u'9') && c != u',' && c != u'-')
            return false;
    }
    return true;
}

bool isIdKind(ArgumentKind kind)
{
    return kind == ArgumentKind::Unit || kind == ArgumentKind::Ship || kind == ArgumentKind::Castle
        || kind == ArgumentKind::Faction;
}

bool fits(ArgumentKind kind, QStringView word, const OrderVocabulary &vocabulary)
{
    switch (kind) {
    case ArgumentKind::Unit:
    case ArgumentKind::Ship:
    case ArgumentKind::Castle:
    case ArgumentKind::Faction:
        return vocabulary.looksLikeId(word);
    case ArgumentKind::Number:
        return isDigits(word);
    case ArgumentKind::Skill:
    case ArgumentKind::Item:
    case ArgumentKind::Luxury:
    case ArgumentKind::Direction:
        return vocabulary.isName(kind, word);
    case ArgumentKind::Text:
        return true;
    case ArgumentKind::Literal:
        break;
    }
    return false;
}

// Walks the forms of an order word along its arguments: which forms still fit, and
// what each argument is in them.
class FormWalk
{
public:
    FormWalk(const OrderWord &word, const OrderVocabulary &vocabulary)
        : m_word(word)
        , m_vocabulary(vocabulary)
    {
        for (int i = 0; i < word.forms.size(); ++i)
            m_states.append({i, 0});
    }

    struct Step
    {
        std::optional<ArgumentKind> role;
        bool fits = false;
        bool temporary = false;
    };

    Step take(QStringView word)
    {
        if (m_restIsText)
            return {ArgumentKind::Text, true};
        if (m_afterTemp) {
            m_afterTemp = false;
            advance();
            return {ArgumentKind::Unit, isDigits(word) || m_vocabulary.looksLikeId(word), true};
        }
        // One of the order's own words wins.
        QList<State> kept;
        for (const State &s : std::as_const(m_states)) {
            if (const ArgumentSlot *slot = slotOf(s); slot && hasLiteral(*slot, word))
                kept.append(s);
        }
        if (!kept.isEmpty()) {
            m_states = kept;
            advance();
            return {ArgumentKind::Literal, true};
        }
        // "TEMP n" names a unit made this turn wherever a unit is wanted.
        if (word.compare(u"TEMP", Qt::CaseInsensitive) == 0) {
            for (const State &s : std::as_const(m_states)) {
                if (const ArgumentSlot *slot = slotOf(s);
                    slot && hasKind(*slot, ArgumentKind::Unit))
                    kept.append(s);
            }
            if (!kept.isEmpty()) {
                m_states = kept;
                m_afterTemp = true;
                return {ArgumentKind::Literal, true};
            }
        }
        // The first choice the word fits; else the first that is no literal.
        QList<State> fitting;
        QList<State> open;
        std::optional<ArgumentKind> fitRole;
        std::optional<ArgumentKind> openRole;
        for (const State &s : std::as_const(m_states)) {
            const ArgumentSlot *slot = slotOf(s);
            if (!slot)
                continue;
            bool takesWords = false;
            for (const ArgumentChoice &c : slot->choices) {
                if (c.kind == ArgumentKind::Literal)
                    continue;
                takesWords = true;
                if (!openRole)
                    openRole = c.kind;
                if (fits(c.kind, word, m_vocabulary)) {
                    if (!fitRole)
                        fitRole = c.kind;
                    fitting.append(s);
                    break;
                }
            }
            if (takesWords)
                open.append(s);
        }
        const bool fitted = !fitting.isEmpty();
        m_states = fitted ? fitting : open;
        const std::optional<ArgumentKind> role = fitted ? fitRole : openRole;
        if (role == ArgumentKind::Text)
            m_restIsText = true;
        advance();
        return {role, fitted};
    }

    // What the next argument may be, in the order of the forms, each once.
    QList<ArgumentChoice> choices() const
    {
        QList<ArgumentChoice> result;
        if (m_restIsText || m_afterTemp)
            return result;
        for (const State &s : m_states) {
            const ArgumentSlot *slot = slotOf(s);
            if (!slot)
                continue;
            for (const ArgumentChoice &c : slot->choices) {
                const bool seen
                    = std::any_of(result.begin(), result.end(), [&c](const ArgumentChoice &r) {
                          return r.kind == c.kind && r.literal == c.literal;
                      });
                if (!seen)
                    result.append(c);
            }
        }
        return result;
    }

private:
    struct State
    {
        int form;
        int slot;
        friend bool operator==(const State &, const State &) = default;
    };

    const ArgumentSlot *slotOf(const State &s) const
    {
        const OrderForm &form = m_word.forms[s.form];
        if (s.slot < form.arguments.size())
            return &form.arguments[s.slot];
        if (form.lastRepeats && !form.arguments.isEmpty())
            return &form.arguments.last();
        return nullptr;
    }
    static bool hasLiteral(const ArgumentSlot &slot, QStringView word)
    {
        return std::any_of(
            slot.choices.begin(), slot.choices.end(), [word](const ArgumentChoice &c) {
                return c.kind == ArgumentKind::Literal
                    && c.literal.compare(word, Qt::CaseInsensitive) == 0;
            });
    }
    static bool hasKind(const ArgumentSlot &slot, ArgumentKind kind)
    {
        return std::any_of(slot.choices.begin(), slot.choices.end(),
            [kind](const ArgumentChoice &c) { return c.kind == kind; });
    }
    void advance()
    {
        QList<State> next;
        for (State s : std::as_const(m_states)) {
            if (!slotOf(s))
                continue; // more arguments than the form has
            ++s.slot;
            next.append(s);
        }
        m_states = next;
    }

    const OrderWord &m_word;
    const OrderVocabulary &m_vocabulary;
    QList<State> m_states;
    bool m_restIsText = false;
    bool m_afterTemp = false;
};

// The pieces of a line; ";" outside a string starts the comment.
QList<OrderToken> splitLine(QStringView line)
{
    QList<OrderToken> tokens;
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = line[i];
        if (c.isSpace()) {
            ++i;
            continue;
        }
        OrderToken t;
        t.start = i;
        // ";" starts a comment, and so does "//" at the start of a word (an order that
        // the game keeps as a comment).
        if (c == u';' || QStringView(line).mid(i).startsWith(u"//")) {
            t.type = OrderToken::Type::Comment;
            i = n;
        } else if (c == u'"') {
            t.type = OrderToken::Type::String;
            const qsizetype close = line.indexOf(u'"', i + 1);
            i = close < 0 ? n : close + 1;
        } else {
            while (i < n && !line[i].isSpace() && line[i] != u';' && line[i] != u'"')
                ++i;
        }
        t.length = i - t.start;
        tokens.append(t);
    }
    return tokens;
}

} // namespace

bool holdsOrder(QStringView line)
{
    const QStringView order = line.trimmed();
    return !order.isEmpty() && !order.startsWith(u';') && !order.startsWith(u"//");
}

QList<OrderToken> readOrderLine(QStringView line, const OrderVocabulary &vocabulary)
{
    QList<OrderToken> tokens = splitLine(line);
    if (tokens.isEmpty() || tokens.first().type != OrderToken::Type::Word)
        return tokens;
    const OrderWord *word
        = vocabulary.language().word(line.mid(tokens.first().start, tokens.first().length));
    if (!word)
        return tokens;
    FormWalk walk(*word, vocabulary);
    for (qsizetype i = 1; i < tokens.size(); ++i) {
        OrderToken &t = tokens[i];
        if (t.type == OrderToken::Type::Comment)
            break;
        const FormWalk::Step step = walk.take(line.mid(t.start, t.length));
        t.role = step.role;
        t.fits = step.fits && t.type == OrderToken::Type::Word;
        t.temporary = step.temporary;
    }
    return tokens;
}

QList<ArgumentChoice> expectedChoices(
    const OrderWord &word, const QList<QStringView> &arguments, const OrderVocabulary &vocabulary)
{
    FormWalk walk(word, vocabulary);
    for (QStringView argument : arguments)
        walk.take(argument);
    return walk.choices();
}

QList<HighlightSpan> highlight(QStringView line, const OrderVocabulary &vocabulary)
{
    const QList<OrderToken> tokens = readOrderLine(line, vocabulary);
    QList<HighlightSpan> spans;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        const OrderToken &t = tokens[i];
        const QStringView text = line.mid(t.start, t.length);
        std::optional<SpanKind> kind;
        if (t.type == OrderToken::Type::Comment) {
            kind = SpanKind::Comment;
        } else if (t.type == OrderToken::Type::String) {
            kind = SpanKind::String;
        } else if (i == 0) {
            kind = vocabulary.language().knows(text) ? SpanKind::Keyword : SpanKind::UnknownWord;
        } else if (t.role == ArgumentKind::Literal) {
            kind = SpanKind::Keyword;
        } else if (t.role && t.fits && isIdKind(*t.role)) {
            kind = SpanKind::Id;
        } else if (t.role && t.fits && *t.role != ArgumentKind::Text) {
            kind = *t.role == ArgumentKind::Number ? SpanKind::Number : SpanKind::Name;
        } else if (looksLikeNumber(text)) {
            kind = SpanKind::Number;
        }
        if (kind)
            spans.append({t.start, t.length, *kind});
    }
    return spans;
}

} // namespace tolvimar
