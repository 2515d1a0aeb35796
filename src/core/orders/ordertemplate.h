#pragma once

#include "../base/compactlines.h"
#include "../base/textfile.h"

#include <QObject>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace tolvimar {

class TemplateLines;

// Lines [first, first + count) of the template replaced by others.
struct LineEdit
{
    int first = 0;
    int count = 0;
    QStringList lines;
};

// The order template ("Zugvorlage"): the lines of next turn's order file, and
// whether a file holds the current text.
class OrderTemplate : public QObject
{
    Q_OBJECT
public:
    explicit OrderTemplate(QObject *parent = nullptr);

    const QStringList &lines() const
    {
        restoreHeldLines();
        readEditedLines();
        return m_lines;
    }
    QString text() const;
    bool isEmpty() const { return lines().isEmpty(); }

    // The program replaces the whole text (import, game start): the editor reloads.
    void setLines(const QStringList &lines);
    // The user edited the text in the editor.
    void setTextFromEditor(const QString &text);
    // While an editor holds the template, its document is the text: an edit only
    // notes that the lines are to be read back, which lines() does once when asked.
    // The reader gives the editor's lines; setLines() ends the editor's hold.
    void setEditorReader(std::function<QStringList()> reader)
    {
        m_editorReader = std::move(reader);
    }
    void editedInEditor();
    // While an editor holds the template, it reads the lines in place and takes edits
    // of ranges of them in its document, each list of edits as one step to undo. The
    // lines give nullptr and the writer false while the editor does not hold it.
    void setEditorAccess(std::function<std::unique_ptr<TemplateLines>()> lines,
        std::function<bool(const QList<LineEdit> &)> writer)
    {
        m_editorLines = std::move(lines);
        m_editorWriter = std::move(writer);
    }
    // The current lines to read a few of, without copying a large template.
    std::unique_ptr<TemplateLines> view() const;
    // Replaces ranges of lines, given from the last to the first and not overlapping,
    // in the editor's document when it holds the template, else in the lines (the
    // editor then reloads). Marks the template unsaved.
    void editLines(const QList<LineEdit> &edits);
    bool isEditedInEditor() const { return m_editedInEditor; }
    void clear() { setLines({}); }

    bool isSaved() const { return m_saved; }
    void setSaved(bool saved);

    // Files of the template are written in the encoding the report came in.
    TextEncoding encoding() const { return m_encoding; }
    void setEncoding(TextEncoding encoding) { m_encoding = encoding; }

    // While an import builds the next template, the current lines wait in a compact
    // copy (a large template has hundreds of thousands of lines). Nothing is
    // signalled: whatever reads the lines brings them back first.
    void holdLines();
    // Brings the held lines back, unless they were replaced since.
    void restoreHeldLines() const;

signals:
    void replaced();
    void savedChanged(bool saved);

private:
    void readEditedLines() const;

    mutable QStringList m_lines;
    mutable bool m_editedInEditor = false;
    std::function<QStringList()> m_editorReader;
    std::function<std::unique_ptr<TemplateLines>()> m_editorLines;
    std::function<bool(const QList<LineEdit> &)> m_editorWriter;
    mutable std::optional<CompactLines> m_held;
    bool m_saved = true;
    TextEncoding m_encoding = TextEncoding::Utf8;
};

// The lines of the template that head a unit's and a region's orders. The order
// editor finds a unit's block by them, so they are built and recognised here only.
// " EINHEIT " + unit + ";\t" + name + " [" + persons + "," + silver + tail
QString unitHeaderLine(
    const QString &unitText, const QString &name, int persons, qint64 silver, const QString &tail);
bool isUnitHeaderLine(QStringView line);
// The unit's number text of a unit header line; empty for any other line.
QString unitTextOfHeaderLine(QStringView line);
// " REGION " + x + "," + y (+ "," + level) + " ; " + name
QString regionHeaderLine(int x, int y, std::optional<int> level, const QString &name);
bool isRegionHeaderLine(QStringView line);
// A unit's block ends before a unit or region header line or an empty line.
bool endsUnitBlock(QStringView line);

} // namespace tolvimar
