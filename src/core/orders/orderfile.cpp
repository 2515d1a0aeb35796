#include "orderfile.h"

#include "../base/errors.h"
#include "../base/prompter.h"
#include "../app/session.h"
#include "../base/textfile.h"
#include "../base/gamefiles.h"
#include "../base/workspace.h"

namespace tolvimar {

OrderFile::OrderFile(Session &session)
    : m_session(session)
{
}

QString OrderFile::orderFilePath() const
{
    return tolvimar::orderFilePath(m_session.game().programPath, m_session.game().number,
        m_session.status()[StatusField::Datum]);
}

void OrderFile::writeOrderFile() const
{
    const OrderTemplate &t = m_session.orderTemplate();
    writeTextLines(orderFilePath(), t.lines(), t.encoding(), "\r\n");
}

void OrderFile::save()
{
    writeOrderFile();
    m_session.orderTemplate().setSaved(true);
}

void OrderFile::saveAs(const QString &path)
{
    const OrderTemplate &t = m_session.orderTemplate();
    writeTextLines(path, t.lines(), t.encoding(), "\r\n");
    m_session.orderTemplate().setSaved(true);
}

bool OrderFile::speichern()
{
    try {
        save();
        return true;
    } catch (const UserError &e) {
        m_session.prompter().message(
            Prompter::Kind::Error, QStringLiteral("Zugvorlage speichern"), e.message());
        return false;
    }
}

bool OrderFile::speichernUnter()
{
    const QString path
        = m_session.prompter().saveFileName(QStringLiteral("Zugvorlage speichern unter"),
            {QStringLiteral("Alle (*.*)"), QStringLiteral("Textdateien (*.txt)")}, 1, true);
    if (path.isEmpty())
        return false;
    try {
        saveAs(path);
        return true;
    } catch (const UserError &e) {
        m_session.prompter().message(
            Prompter::Kind::Error, QStringLiteral("Zugvorlage speichern"), e.message());
        return false;
    }
}

void OrderFile::autosave()
{
    if (m_session.orderTemplate().isSaved())
        return;
    try {
        save();
    } catch (const UserError &e) {
        m_session.prompter().notice(
            QStringLiteral("Automatisches Speichern fehlgeschlagen: ") + e.message());
    }
}

} // namespace tolvimar
