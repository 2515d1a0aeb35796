#pragma once

#include "../base/activegame.h"
#include "unitview.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace tolvimar {

class Database;
class OrderTemplate;
class TemplateLines;
class WorkspaceLock;

// A unit's mark in `Flags`: "x" plain (this turn), "X" long (kept by the next import).
enum class UnitMark { None, Plain, Long };

// The mark the editor shows for a `Flags` value; "X" wins over "x".
UnitMark markOfFlags(const QString &flags);
// `Flags` with the mark set: the first "x" and the first "X" go, the mark's letter is
// appended; the other letters ("B", "T") stay.
QString flagsWithMark(const QString &flags, UnitMark mark);
// setflags: stores the mark in `Flags` of the unit (game, position, number) in one
// transaction. Returns false when there is no such row; nothing is stored then.
bool setflags(Database &db, int game, const QString &position, int number, UnitMark mark);

// A unit's block in the template lines: its header line and the orders below it,
// [header, end). The block ends before the next line that starts a unit or region
// block as the template writes them, or before an empty line; an order that merely
// contains such a word stays in the block.
struct BlockRange
{
    int header = 0;
    int end = 0;
};

// The block of the unit whose header line names this number text (letters in any
// case); nullopt when the template has no header line for the unit.
std::optional<BlockRange> findUnitBlock(const QStringList &lines, const QString &unitText);
// Every block of the unit, in template order (a template may hold a unit's header
// line more than once).
QList<BlockRange> findUnitBlocks(const TemplateLines &lines, const QString &unitText);
// Replaces the unit's orders by the editor's lines after the first (the header line
// in the template stays as it is; empty lines are written as they stand). Returns
// false, leaving the lines alone, when the unit has no header line.
bool replaceUnitOrders(QStringList &lines, const QString &unitText, const QStringList &editorLines);

// The order editor's work: opening copies a unit's block out of the template,
// applying writes the edited orders back and stores the mark. It acts on the unit it
// opened last, whatever the unit view shows by then.
class OrderBlock
{
public:
    OrderBlock(OrderTemplate &orders, Database &db, WorkspaceLock *lock = nullptr);

    struct Opened
    {
        // The block; empty when the template has no block for the unit. A unit whose
        // header line stands more than once gets all its blocks, one after the other.
        QStringList lines;
        UnitMark mark = UnitMark::None;
        int blocks = 0;
    };
    // ListBox3DblClick for the unit the view shows.
    Opened open(const ActiveGame &game, const UnitViewTexts &unit);

    bool isOpen() const { return m_game != 0; }
    // The edited unit's number text (the hidden `Edit21`) and name.
    const QString &unitText() const { return m_unitText; }
    const QString &unitName() const { return m_name; }
    int unitNumber() const { return m_number; }
    // Lines copied into the editor when it was opened.
    int length() const { return m_length; }

    struct Applied
    {
        bool headerFound = false; // the template held the unit's block
        bool templateChanged = false;
        bool marked = false; // the unit's row was found and the mark stored
    };
    // Button1Click ("Befehle ausführen"): a changed template is marked unsaved; only
    // the unit's blocks are edited. The editor's lines hold one part per block, each
    // beginning with the block's header line. The mark is stored under the workspace
    // lock (when one was given). Throws UserError, changing neither the template nor
    // the mark, for a line that would act as the template's structure
    // (orderLineProblem), parts that do not match the blocks, or a lock held by
    // another program.
    Applied apply(const QStringList &editorLines, UnitMark mark);

private:
    // The unit's blocks where they stood when opened or applied last; found anew
    // when the template changed there since.
    QList<BlockRange> currentBlocks(const TemplateLines &lines) const;

    OrderTemplate &m_orders;
    Database &m_db;
    WorkspaceLock *m_lock;
    int m_game = 0;
    QString m_position;
    int m_number = 0;
    QString m_unitText;
    QString m_name;
    int m_length = 0;
    QList<int> m_headers; // the header lines of the unit's blocks
};

} // namespace tolvimar
