#include "orderfile.h"

#include "../base/gamefiles.h"
#include "../base/textfile.h"
#include "../report/ordertemplate.h"

namespace tolvimar {

OrderFile::OrderFile(const ActiveGame &game, const QString &dateText, OrderTemplate &orders)
    : m_game(game)
    , m_dateText(dateText)
    , m_orders(orders)
{
}

QString OrderFile::path() const
{
    return orderFilePath(m_game.programPath, m_game.number, m_dateText);
}

void OrderFile::write() const
{
    writeTextLines(path(), m_orders.lines(), m_orders.encoding(), "\r\n");
}

void OrderFile::save()
{
    write();
    m_orders.setSaved(true);
}

void OrderFile::saveAs(const QString &path)
{
    writeTextLines(path, m_orders.lines(), m_orders.encoding(), "\r\n");
    m_orders.setSaved(true);
}

void OrderFile::saveIfChanged()
{
    if (!m_orders.isSaved())
        save();
}

} // namespace tolvimar
