#pragma once

#include "../base/textfile.h"
#include "templatedocument.h"

#include <QObject>
#include <QStringList>
#include <memory>
#include <optional>

namespace tolvimar {

class TemplateLines;

// The order template ("Zugvorlage"): the lines of next turn's order file, kept in
// one document with its history of edits, and the encoding its file is written in.
class OrderTemplate : public QObject
{
    Q_OBJECT
public:
    explicit OrderTemplate(QObject *parent = nullptr);

    // The text, its history and its views' document.
    TemplateDocument &document() { return m_document; }
    const TemplateDocument &document() const { return m_document; }

    QStringList lines() const { return m_document.lines(); }
    QString text() const;
    bool isEmpty() const { return m_document.isEmpty(); }
    // The current lines to read a few of, without copying a large template.
    std::unique_ptr<TemplateLines> view() const;

    // The program replaces the whole text (import, game start): a new history begins.
    void setLines(const QStringList &lines) { m_document.replaceAll(lines); }
    void clear() { setLines({}); }
    // Replaces ranges of lines (a unit's block, one line of it), given from the last
    // to the first and not overlapping, as one step to undo ("Befehle ausführen").
    // False, changing nothing, when a range lies outside the text.
    bool editLines(const QList<LineEdit> &edits) { return m_document.replaceLines(edits); }

    bool isSaved() const { return m_document.isSaved(); }
    void setSaved(bool saved) { m_document.setSaved(saved); }

    // Files of the template are written in the encoding the report came in.
    TextEncoding encoding() const { return m_encoding; }
    void setEncoding(TextEncoding encoding) { m_encoding = encoding; }

signals:
    void savedChanged(bool saved);

private:
    TemplateDocument m_document;
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
