#pragma once

#include "../base/activegame.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <QTextBlock>
#include <optional>

class QTextDocument;

namespace tolvimar {

// Read access to the lines of the order template, whatever holds them: a list of
// lines, or the editor's document itself, so that nothing copies a large template
// to answer a question about a few of its lines.
class TemplateLines
{
public:
    virtual ~TemplateLines() = default;
    virtual int count() const = 0;
    virtual QString line(int index) const = 0;
};

class ListTemplateLines : public TemplateLines
{
public:
    explicit ListTemplateLines(const QStringList &lines)
        : m_lines(lines)
    {
    }
    int count() const override { return int(m_lines.size()); }
    QString line(int index) const override { return m_lines.at(index); }

private:
    const QStringList &m_lines;
};

// A copy of the lines (implicitly shared, so taking it costs nothing).
class OwnedTemplateLines : public TemplateLines
{
public:
    explicit OwnedTemplateLines(QStringList lines)
        : m_lines(std::move(lines))
    {
    }
    int count() const override { return int(m_lines.size()); }
    QString line(int index) const override { return m_lines.at(index); }

private:
    const QStringList m_lines;
};

// A document's blocks are its lines (a text edit's document, one block a line).
class DocumentTemplateLines : public TemplateLines
{
public:
    explicit DocumentTemplateLines(const QTextDocument &document)
        : m_document(document)
    {
    }
    int count() const override;
    QString line(int index) const override;

private:
    const QTextDocument &m_document;
    mutable QTextBlock m_last; // the line asked for last
    mutable int m_lastIndex = -1;
};

// A unit's block: its header line and the orders below it, [header, end), as the
// order editor copies it out.
struct UnitBlock
{
    int header = 0;
    int end = 0;
    QString unitText; // the number text of the header line
};

// The block that holds the line, found by walking up to its header line; nullopt
// when the line belongs to no unit (a region's lines, the head of the template, a
// line after an empty one).
std::optional<UnitBlock> unitBlockAt(const TemplateLines &lines, int line);
// The block of the unit with this number text (letters in any case).
std::optional<UnitBlock> unitBlockOf(const TemplateLines &lines, const QString &unitText);
// Whether the block holds an order: a line below the header that is more than blanks
// and a comment.
bool hasOrders(const TemplateLines &lines, const UnitBlock &block);

// What the moves between units stop at.
struct ReviewTargets
{
    QSet<qint64> unitsWithProblems; // unit numbers
    bool withoutOrders = true;
    // How the header lines write the units' numbers.
    GameType gameType = GameType::Kalmora;
    int base = 36;
};

// The header line of the next (forward) or previous unit block from the line on,
// leaving out the block that holds the line, whose unit has a problem or no orders;
// the search wraps around the end. nullopt when no other unit is such.
std::optional<int> nextUnitToReview(
    const TemplateLines &lines, int line, bool forward, const ReviewTargets &targets);

} // namespace tolvimar
