#include "statusstore.h"

#include "../base/configuration.h"
#include "../base/errors.h"
#include "../base/filebatch.h"
#include "../base/gamefiles.h"
#include "../base/prompter.h"
#include "../base/textfile.h"
#include "../orders/orderfile.h"
#include "session.h"
#include "turnsummary.h"

#include <QDir>
#include <QFileInfo>

namespace tolvimar {

namespace {

struct PageFile
{
    Page page;
    StatusFile file;
};

// In the order the files are written.
const PageFile kFiles[] = {
    {Page::Kaempfe, StatusFile::Kaempfe},
    {Page::Warnungen, StatusFile::Warnungen},
    {Page::Ereignisse, StatusFile::Ereignisse},
    {Page::Buendnisse, StatusFile::Buendnisse},
    {Page::Einkommen, StatusFile::Einkommen},
    {Page::Handel, StatusFile::Handel},
    {Page::Produktion, StatusFile::Produktion},
    {Page::Bewegungen, StatusFile::Bewegungen},
    {Page::Einreisebericht, StatusFile::Einreise},
    {Page::Geheimdienstbericht, StatusFile::Geheimdienstbericht},
    {Page::Botschaften, StatusFile::Meldungen},
};

} // namespace

StatusStore::StatusStore(Session &session)
    : m_session(session)
{
}

QStringList StatusStore::fileNames() const
{
    return fileNames(m_session.game());
}

QStringList StatusStore::fileNames(const ActiveGame &game)
{
    QStringList names;
    for (const PageFile &f : kFiles)
        names.append(statusFile(game.programPath, game.number, f.file));
    return names;
}

ReportPages StatusStore::pagesToSave(
    const ActiveGame &game, ReportPages pages, const QString &total)
{
    if (game.number == 1)
        pages.append(Page::Einkommen, QStringLiteral("zzzz") + total);
    return pages;
}

void StatusStore::stageStatusFiles(
    FileBatch &batch, const ActiveGame &game, const ReportPages &pages)
{
    makeDirectory(statusDataDir(game.programPath));
    const QStringList names = fileNames(game);
    for (int i = 0; i < names.size(); ++i)
        batch.stage(names[i], encodeTextLines(pages[kFiles[i].page]));
}

void StatusStore::setStatusLines(
    Configuration &config, const ActiveGame &game, const StatusValues &status)
{
    config.setLine(game.number, Configuration::GameName, game.name);
    config.setLine(game.number, Configuration::GameTypeText, game.typeText);
    for (int f = 0; f < kSavedStatusFields; ++f)
        config.setLine(game.number, Configuration::StatusFirst + f, status.values[f]);
}

void StatusStore::loadStatusData()
{
    const ActiveGame &game = m_session.game();
    ReportPages pages = m_session.pages();
    QStringList unreadable;
    const QStringList names = fileNames();
    for (int i = 0; i < names.size(); ++i) {
        pages.clear(kFiles[i].page);
        // A game that was never imported has no files yet: its pages stay empty.
        if (!QFileInfo::exists(names[i]))
            continue;
        try {
            pages[kFiles[i].page] = readTextLines(names[i]);
        } catch (const UserError &) {
            unreadable.append(QDir::toNativeSeparators(names[i]));
        }
    }
    m_session.setPages(pages);

    StatusValues status = m_session.status();
    try {
        const Configuration config = m_session.loadConfiguration();
        for (int f = 0; f < kSavedStatusFields; ++f)
            status.values[f] = config.line(game.number, Configuration::StatusFirst + f);
    } catch (const UserError &e) {
        unreadable.append(e.message());
    }
    m_session.setStatus(status);

    runIncomeSummary(m_session, false);
    if (game.isKalmora())
        runOrcSummary(m_session, false);

    OrderTemplate &orders = m_session.orderTemplate();
    if (!status[StatusField::Datum].isEmpty()) {
        const QString path = m_session.orderFile().path();
        if (QFileInfo::exists(path)) {
            try {
                TextEncoding encoding = TextEncoding::Utf8;
                const QStringList lines = readTextLines(path, &encoding);
                orders.setEncoding(encoding);
                orders.setLines(lines);
            } catch (const UserError &e) {
                // The reason too (UTF-16, say): the file is the player's, and a save
                // does not replace it while it cannot be read (OrderFile::write).
                orders.setLines({});
                unreadable.append(e.message());
            }
        }
    }
    orders.setSaved(true);
    runProductionSummary(m_session);

    if (!unreadable.isEmpty()) {
        m_session.prompter().message(Prompter::Kind::Warning, QStringLiteral("Statusdaten"),
            QStringLiteral("Diese Statusdaten konnten nicht gelesen werden:\n")
                + unreadable.join(u'\n'));
    }
}

} // namespace tolvimar
