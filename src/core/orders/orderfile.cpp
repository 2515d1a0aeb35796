#include "orderfile.h"

#include "../base/errors.h"
#include "../base/filebatch.h"
#include "../base/gamefiles.h"
#include "../base/textfile.h"
#include "../base/workspacelock.h"
#include "ordertemplate.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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
    const QString target = path();
    // An order file that could not be read as text (UTF-16, say) never became the
    // template: writing the template over it would lose the player's orders.
    QFile existing(target);
    if (QFileInfo(target).isFile() && existing.open(QIODevice::ReadOnly)) {
        const QString notText = notTextReason(existing.read(64));
        if (!notText.isEmpty())
            throw UserError(QStringLiteral("Die Zugvorlage %1 wird nicht überschrieben: %2. Bitte "
                                           "die Datei umbenennen oder als UTF-8 speichern.")
                                .arg(QDir::toNativeSeparators(target), notText));
    }
    writeFileAtomically(target, bytes(m_orders));
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
