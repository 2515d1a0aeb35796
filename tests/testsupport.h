#pragma once

#include "app/reportimporter.h"
#include "app/session.h"
#include "base/configuration.h"
#include "base/scriptedprompter.h"
#include "base/textfile.h"
#include "orders/checker.h"
#include "report/reportpages.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

namespace tolvimar::test {

QString fixture(const QString &relative);

// A temporary workspace with a fresh configuration file; slots can be given a
// game type before the session reads it.
class TempWorkspace
{
public:
    TempWorkspace();
    QString path() const { return m_dir.path(); }
    QString file(const QString &relative) const { return m_dir.filePath(relative); }
    Configuration config() const;
    void setLine(int game, int offset, const QString &text);

private:
    QTemporaryDir m_dir;
};

// Runs the command line tool; returns its exit code and fills stdout/stderr.
int runCli(const QStringList &arguments, QString *out = nullptr, QString *err = nullptr);

// AddressSanitizer reserves far more address space than any memory limit allows.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// One run of the command line tool as a process of its own.
struct CliRun
{
    int code = -1; // -1 crashed, -2 still running at the deadline (then killed)
    QByteArray out;
    QByteArray err;
    QString errText() const { return QString::fromUtf8(err); }
    QString where() const;
};
// Runs the command line tool with faults injected through the test hook, after a shell
// limit (a `ulimit` line) when one is given, and never longer than the deadline.
CliRun runCliProcess(const QStringList &arguments, const QStringList &faults = {},
    const QString &shellLimit = QString(), int deadlineMs = 120000);
// The arguments with "--workspace dir" before them.
QStringList inWorkspace(const QString &dir, const QStringList &arguments);

// The bytes of the small Kalmora report of the fixtures.
QByteArray kalmoraReportBytes();
// The bytes with the first `from` (which must occur) replaced by `to`.
QByteArray replaced(QByteArray bytes, const QByteArray &from, const QByteArray &to);

QByteArray readBytes(const QString &path);
// Every row of every table of the database file, in stored order, with the type
// SQLite keeps: two equal lists mean two equal databases.
// With a slot, only that slot's rows.
QStringList tableRows(const QString &databasePath, int slot = 0);
void writeBytes(const QString &path, const QByteArray &bytes);

// A workspace with an opened game slot into which report texts are imported.
class ImportHarness
{
public:
    explicit ImportHarness(const QString &typeText = QStringLiteral("Kalmora"), int slot = 1);
    ~ImportHarness();

    // Writes the lines (joined by CR LF, in the encoding) and imports them.
    ReportImporter::Result import(
        const QStringList &lines, TextEncoding encoding = TextEncoding::Utf8);
    ReportImporter::Result importFile(const QString &path);

    // The first column of the first row of a query with bound values.
    QVariant value(const QString &sql, const QVariantList &bindings = {});
    int count(const QString &table);
    QStringList page(Page p) const;
    QString status(StatusField f) const;

    TempWorkspace ws;
    ScriptedPrompter prompter;
    std::unique_ptr<Session> session;
    int reportNumber = 0;
};

// The slot's checker path, as the settings dialog would set it.
void setCheckerPath(Session &session, const QString &path);
// Saves the order file and runs the checker on it.
OrderChecker::Result runChecker(Session &session, int timeoutMs);

// A Kalmora or Sulvitan report header for turn, faction number and base.
QStringList reportHeader(const QString &game = QStringLiteral("Kalmora"), int turn = 40,
    int faction = 4711, int base = 36, int version = 42);

} // namespace tolvimar::test
