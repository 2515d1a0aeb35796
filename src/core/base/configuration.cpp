#include "configuration.h"

#include "errors.h"
#include "filebatch.h"
#include "textfile.h"

#include <QDir>
#include <QFileInfo>

namespace tolvimar {

Configuration::Configuration(QString filePath)
    : m_filePath(std::move(filePath))
{
}

int Configuration::blockBase(int game)
{
    return kBlockLines * (game - 1);
}

QStringList Configuration::freshLines()
{
    QStringList lines;
    for (int k = 1; k <= kSlots; ++k) {
        for (int offset = 0; offset < kBlockLines; ++offset)
            lines.append(offset == ProgramPath ? QStringLiteral("spiel%1/").arg(k) : QString());
    }
    return lines;
}

void Configuration::load()
{
    QStringList lines = readTextLines(m_filePath);
    if (lines.size() < kTotalLines) {
        throw UserError(QStringLiteral("Die Konfigurationsdatei %1 ist unvollständig: sie hat %2 "
                                       "Zeilen, Zeile %3 fehlt (erwartet werden %4 Zeilen).")
                            .arg(QDir::toNativeSeparators(m_filePath))
                            .arg(lines.size())
                            .arg(lines.size() + 1)
                            .arg(kTotalLines));
    }
    m_lines = std::move(lines);
}

void Configuration::save() const
{
    writeFileAtomically(m_filePath, fileBytes());
}

QByteArray Configuration::fileBytes() const
{
    return encodeTextLines(m_lines);
}

void Configuration::createFresh()
{
    m_lines = freshLines();
    makeDirectory(QFileInfo(m_filePath).absolutePath());
    save();
}

int Configuration::index(int game, int offset) const
{
    const int i = blockBase(game) + offset;
    if (game < 1 || game > kSlots || offset < 0 || offset >= kBlockLines || i >= m_lines.size()) {
        throw UserError(QStringLiteral("Die Konfigurationsdatei %1 hat keine Zeile %2.")
                            .arg(QDir::toNativeSeparators(m_filePath))
                            .arg(i + 1));
    }
    return i;
}

QString Configuration::line(int game, int offset) const
{
    return m_lines.at(index(game, offset));
}

void Configuration::setLine(int game, int offset, const QString &text)
{
    m_lines[index(game, offset)] = text;
}

int Configuration::intLine(int game, int offset, int emptyValue) const
{
    const int i = index(game, offset);
    const QString &text = m_lines.at(i);
    if (text.trimmed().isEmpty())
        return emptyValue;
    int value = 0;
    if (!parseStrictInt(text, &value)) {
        throw UserError(QStringLiteral("Die Konfigurationsdatei %1, Zeile %2: \"%3\" ist keine "
                                       "ganze Zahl.")
                            .arg(QDir::toNativeSeparators(m_filePath))
                            .arg(i + 1)
                            .arg(text));
    }
    return value;
}

} // namespace tolvimar
