#pragma once

#include <QString>
#include <QStringList>

namespace tolvimar {

// The configuration file "tolvimar.cfg": six game slots of 23 lines each. Every
// writer loads the whole file, replaces its own lines and saves the whole file.
class Configuration
{
public:
    static constexpr int kBlockLines = 23;
    static constexpr int kSlots = 6;
    static constexpr int kTotalLines = kBlockLines * kSlots;

    // Line offsets within a slot's block.
    enum Offset {
        Unused = 0,
        GameName = 1,
        GameTypeText = 2,
        FactionName = 3,
        FactionNumber = 4,
        NewestTurn = 5,
        ProgramPath = 6,
        OriginX = 7,
        OriginY = 8,
        HomeX = 9,
        HomeY = 10,
        IdentifierBase = 11,
        Umlaut = 12,
        StatusFirst = 13, // 13..21: the nine status values
        StatusLast = 21,
        CheckerPath = 22,
    };

    explicit Configuration(QString filePath = QString());

    // Line number (from 0) of the first line of game k's block.
    static int blockBase(int game);
    // The content of a new installation: six empty slots whose program paths are
    // "spiel1/" to "spiel6/".
    static QStringList freshLines();

    const QString &filePath() const { return m_filePath; }
    void setFilePath(const QString &path) { m_filePath = path; }

    // Throws UserError naming the file (and the first missing line of a short file).
    void load();
    // Atomic: a failed save leaves the previous file as it was. Throws UserError.
    void save() const;
    // The file's content as save() writes it.
    QByteArray fileBytes() const;
    void createFresh();

    const QStringList &lines() const { return m_lines; }
    void setLines(const QStringList &lines) { m_lines = lines; }
    bool isEmpty() const { return m_lines.isEmpty(); }
    void clear() { m_lines.clear(); }

    QString line(int game, int offset) const;
    void setLine(int game, int offset, const QString &text);

    // Strict integer of a numeric line; an empty line gives emptyValue. A text that is
    // not a decimal integer throws UserError naming the file and the line.
    int intLine(int game, int offset, int emptyValue = 0) const;

private:
    int index(int game, int offset) const;

    QString m_filePath;
    QStringList m_lines;
};

} // namespace tolvimar
