#include "testsupport.h"

#include "base/workspace.h"
#include "db/database.h"
#include "db/schema.h"
#include "gamefixture.h"
#include "report/importprogress.h"

#include <QFile>
#include <QProcess>
#include <QSqlQuery>

namespace tolvimar::test {

QString fixture(const QString &relative)
{
    return QStringLiteral(TOLVIMAR_FIXTURES "/") + relative;
}

TempWorkspace::TempWorkspace()
{
    Workspace(m_dir.path()).ensure();
}

Configuration TempWorkspace::config() const
{
    Configuration c(Workspace(m_dir.path()).configPath());
    c.load();
    return c;
}

void TempWorkspace::setLine(int game, int offset, const QString &text)
{
    Configuration c = config();
    c.setLine(game, offset, text);
    c.save();
}

int runCli(const QStringList &arguments, QString *out, QString *err)
{
    QProcess process;
    process.start(QStringLiteral(TOLVIMAR_CLI), arguments);
    process.waitForFinished(120000);
    if (out)
        *out = QString::fromUtf8(process.readAllStandardOutput());
    if (err)
        *err = QString::fromUtf8(process.readAllStandardError());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QString CliRun::where() const
{
    return QStringLiteral("exit %1: %2 %3").arg(code).arg(QString::fromUtf8(out), errText());
}

CliRun runCliProcess(const QStringList &arguments, const QStringList &faults,
    const QString &shellLimit, int deadlineMs)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!faults.isEmpty())
        env.insert(QStringLiteral("TOLVIMAR_TEST_FAULTS"), faults.join(u','));
    p.setProcessEnvironment(env);
    if (!shellLimit.isEmpty()) {
        p.start(QStringLiteral("bash"),
            QStringList {QStringLiteral("-c"), shellLimit + QStringLiteral("; exec \"$0\" \"$@\""),
                QStringLiteral(TOLVIMAR_CLI)}
                + arguments);
    } else {
        p.start(QStringLiteral(TOLVIMAR_CLI), arguments);
    }
    CliRun run;
    if (!p.waitForFinished(deadlineMs)) {
        p.kill();
        p.waitForFinished();
        run.code = -2;
    } else {
        run.code = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    run.out = p.readAllStandardOutput();
    run.err = p.readAllStandardError();
    return run;
}

QStringList inWorkspace(const QString &dir, const QStringList &arguments)
{
    return QStringList {QStringLiteral("--workspace"), dir} + arguments;
}

QByteArray kalmoraReportBytes()
{
    return readBytes(fixture(QStringLiteral("reports/kalmora-klein.cr")));
}

QByteArray replaced(QByteArray bytes, const QByteArray &from, const QByteArray &to)
{
    const qsizetype at = bytes.indexOf(from);
    Q_ASSERT(at >= 0);
    return bytes.replace(at, from.size(), to);
}

QStringList tableRows(const QString &databasePath, int slot)
{
    Database db(databasePath);
    QStringList rows;
    for (const TableDef *table : schema::allTables()) {
        QSqlQuery q(db.connection());
        QStringList columns;
        for (const FieldDef &f : table->fields)
            columns.append(QStringLiteral("typeof(%1), %1").arg(sqlQuote(f.name)));
        const QString where
            = slot > 0 ? QStringLiteral(" WHERE \"Spiel\" = %1").arg(slot) : QString();
        if (!q.exec(QStringLiteral("SELECT rowid, %1 FROM %2%3 ORDER BY rowid")
                        .arg(columns.join(u", "), sqlQuote(table->name), where)))
            return {QStringLiteral("query failed: ") + table->name};
        while (q.next()) {
            QStringList values {table->name};
            for (int i = 0; i <= 2 * table->fields.size(); ++i)
                values.append(q.value(i).toString());
            rows.append(values.join(u'|'));
        }
    }
    return rows;
}

QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

ImportHarness::ImportHarness(const QString &typeText, int slot)
{
    session = std::make_unique<Session>(ws.path(), prompter);
    session->openGame(slot, QStringLiteral("Testspiel"), typeText);
    prompter.notices.clear();
}

ImportHarness::~ImportHarness() = default;

ReportImporter::Result ImportHarness::import(const QStringList &lines, TextEncoding encoding)
{
    const QString path = ws.file(QStringLiteral("report%1.cr").arg(++reportNumber));
    writeBytes(
        path, encodeText(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"), encoding));
    return importFile(path);
}

ReportImporter::Result ImportHarness::importFile(const QString &path)
{
    ImportProgress progress;
    return ReportImporter(*session, progress).importFile(path);
}

QVariant ImportHarness::value(const QString &sql, const QVariantList &bindings)
{
    return queryValue(session->database(), sql, bindings);
}

int ImportHarness::count(const QString &table)
{
    return value(QStringLiteral("SELECT COUNT(*) FROM ") + table).toInt();
}

QStringList ImportHarness::page(Page p) const
{
    return session->pages()[p];
}

QString ImportHarness::status(StatusField f) const
{
    return session->status()[f];
}

QStringList reportHeader(const QString &game, int turn, int faction, int base, int version)
{
    return {
        QStringLiteral("VERSION %1").arg(version),
        QStringLiteral("\"%1\";Spiel").arg(game),
        QStringLiteral("%1;Basis").arg(base),
        QStringLiteral("1;Umlaute"),
        QStringLiteral("%1;Runde").arg(turn),
        QStringLiteral("PARTEI %1").arg(faction),
        QStringLiteral("\"geheim\";Passwort"),
        QStringLiteral("50;Rekrutierungskosten"),
        QStringLiteral("100;Punkte"),
        QStringLiteral("80;Punktedurchschnitt"),
        QStringLiteral("\"Die Prüfer\";Parteiname"),
        QStringLiteral("\"pruefer@example.org\";email"),
        QStringLiteral("3;Anzahl Immigranten"),
        QStringLiteral("9;Max. Immigranten"),
    };
}

void setCheckerPath(Session &session, const QString &path)
{
    ActiveGame game = session.game();
    game.checkerPath = path;
    session.setGame(game);
}

OrderChecker::Result runChecker(Session &session, int timeoutMs)
{
    OrderFile file = session.orderFile();
    return OrderChecker(session.game()).run(file, timeoutMs);
}

} // namespace tolvimar::test
