#pragma once

#include "../base/activegame.h"
#include "../base/textfile.h"

#include <QString>

namespace tolvimar {

class OrderTemplate;
class WorkspaceLock;

// The order template as a file: "Zug-Spiel" + game + "-" + year + "-" + month
// name + ".txt" in the game's program path, lines ended by CR LF, in the encoding
// the report came in.
class OrderFile
{
public:
    // dateText is the status page's "Datum" ("Maerz im Jahre 7"). Writes hold the
    // workspace lock when one is given.
    OrderFile(const ActiveGame &game, const QString &dateText, OrderTemplate &orders,
        WorkspaceLock *lock = nullptr);

    QString path() const;
    WorkspaceLock *lock() const { return m_lock; }
    // The encoding the file is written in (the report's).
    TextEncoding encoding() const;
    // The file's content: the template's lines ended by CR LF, in its encoding.
    static QByteArray bytes(const OrderTemplate &orders);
    static QByteArray bytes(const QStringList &lines, TextEncoding encoding);

    // Writes the template under the order file name; the saved state is not touched.
    // Throws UserError; the previous file then stays as it was. An existing file that is
    // no text (UTF-16, NUL bytes) is never replaced.
    void write() const;
    // "Zugvorlage Speichern": write and mark saved. Throws UserError (state unchanged).
    void save();
    // "Zugvorlage Speichern unter...": write exactly under the chosen name.
    void saveAs(const QString &path);
    // The five-minute tick: saves when there are unsaved changes. Throws UserError.
    void saveIfChanged();

private:
    ActiveGame m_game;
    QString m_dateText;
    OrderTemplate &m_orders;
    WorkspaceLock *m_lock;
};

} // namespace tolvimar
