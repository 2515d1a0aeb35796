#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace tolvimar {

// What an argument of an order is. Literal is a word that stands for itself
// ("ALLES", "Silber"); the others name what the argument refers to.
enum class ArgumentKind {
    Literal,
    Unit,
    Ship,
    Castle,
    Faction,
    Skill,
    Item,
    Luxury,
    Direction,
    Number,
    Text
};

struct ArgumentChoice
{
    ArgumentKind kind = ArgumentKind::Text;
    QString literal; // the word itself for Literal
};

// One position of an order's arguments: any one of its choices.
struct ArgumentSlot
{
    QList<ArgumentChoice> choices;
};

// One form of an order: its argument positions in order; the last may repeat.
struct OrderForm
{
    QList<ArgumentSlot> arguments;
    bool lastRepeats = false;
};

struct OrderWord
{
    QString word; // upper case
    QList<OrderForm> forms;
};

// The order words of both games with the kinds of their arguments, read from word
// files: the list compiled into the program, the player's own file and the words
// learnt from imported orders, all in the same plain format (see befehlsworte.txt).
// Words are matched without regard to case.
class OrderLanguage
{
public:
    // The compiled-in list alone.
    static OrderLanguage builtIn();
    // The compiled-in list, then the player's file and the learnt words of the game
    // folder when they exist. Lines that cannot be read are passed over and named
    // (file and line) in problems.
    static OrderLanguage forGame(const QString &programPath, QStringList *problems = nullptr);

    // Adds the forms and values of a word file's text; fileName names it in problems.
    void addText(const QString &text, const QString &fileName, QStringList *problems);
    // Adds a word file when it exists. A file that cannot be read is a problem.
    void addFile(const QString &path, QStringList *problems);
    // Adds a word without known arguments (a learnt word).
    void addWord(const QString &word);

    bool knows(QStringView word) const;
    // The word's forms; nullptr when the language lacks it.
    const OrderWord *word(QStringView word) const;
    // Every word, sorted.
    QStringList words() const;
    // The values a word file names for a kind (directions, luxury goods, further
    // skills or items), in file order.
    QStringList values(ArgumentKind kind) const;

    // A text that may be an order word: letters only.
    static bool isWordShape(QStringView text);
    // The name of a kind in word files ("einheit"); empty for Literal.
    static QString kindName(ArgumentKind kind);

private:
    bool addLine(QStringView line, QString *problem);

    QHash<QString, OrderWord> m_words; // by upper-case word
    QHash<int, QStringList> m_values; // by kind
};

// The first words of the orders in the unit blocks of the template lines that the
// language lacks, upper case, each once, in the order they first occur.
QStringList unknownOrderWords(const QStringList &templateLines, const OrderLanguage &language);
// The learnt-words file with the words appended (one a line, after what it held).
QByteArray learntWordsFileBytes(const QByteArray &previous, const QStringList &words);

} // namespace tolvimar
