#include "orderfile.h"

#include "../base/filebatch.h"
#include "../base/gamefiles.h"
#include "../base/textfile.h"
#include "../base/workspacelock.h"
#include "ordertemplate.h"

namespace tolvimar {

OrderFile::OrderFile(
    const ActiveGame &game, const QString &dateText, OrderTemplate &orders, WorkspaceLock *lock)
    : m_game(game)
    , m_dateText(dateText)
    , m_orders(orders)
    , m_lock(lock)
{
}

QByteArray OrderFile::bytes(const OrderTemplate &orders)
{
    return bytes(orders.lines(), orders.encoding());
}

QByteArray OrderFile::bytes(const QStringList &lines, TextEncoding encoding)
{
    return encodeTextLines(lines, encoding, "\r\n");
}

TextEncoding OrderFile::encoding() const
{
    return m_orders.encoding();
}

QString OrderFile::path() const
{
    return orderFilePath(m_game.programPath, m_game.number, m_dateText);
}

void OrderFile::write() const
{
    const WorkspaceWriteScope scope(m_lock);
    writeFileAtomically(path(), bytes(m_orders));
}

void OrderFile::save()
{
    write();
    m_orders.setSaved(true);
}

void OrderFile::saveAs(const QString &path)
{
    // Save as may write anywhere; inside the workspace it is a write like any other.
    const WorkspaceWriteScope scope(m_lock);
    writeFileAtomically(path, bytes(m_orders));
    m_orders.setSaved(true);
}

void OrderFile::saveIfChanged()
{
    if (!m_orders.isSaved())
        save();
}

} // namespace tolvimar
