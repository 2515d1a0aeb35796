#include "base/workspace.h"
#include "mail/mailsettings.h"
#include "mail/ordermessage.h"
#include "smtptestserver.h"
#include "testsupport.h"

#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

const QString kFrom = QStringLiteral("spieler@example.org");
const QString kTo = QStringLiteral("befehle@example.org");

// Lines a mail can spoil: umlauts, a line longer than any mail line should be, a
// leading dot, an equals sign, a blank at the end.
QByteArray trickyLines(bool utf8)
{
    const QString text = QStringLiteral("; Grüße an Äöü und ß\r\n") + QStringLiteral("; ")
        + QString(200, u'x') + QStringLiteral(" Ende\r\n")
        + QStringLiteral(". eine Zeile mit Punkt\r\n.\r\n")
        + QStringLiteral("; a=b =3D bleibt so\r\n") + QStringLiteral("; Blank am Ende \r\n")
        + (utf8 ? QStringLiteral("; nach Norden → über den Fluss\r\n") : QString());
    return utf8 ? text.toUtf8() : text.toLatin1();
}

// A header's value, its folded lines joined.
QByteArray headerValue(const QByteArray &head, const QByteArray &name)
{
    const QList<QByteArray> lines = head.split('\n');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (!lines[i].startsWith(name + ": "))
            continue;
        QByteArray value = lines[i].mid(name.size() + 2).trimmed();
        while (
            i + 1 < lines.size() && (lines[i + 1].startsWith(' ') || lines[i + 1].startsWith('\t')))
            value += ' ' + lines[++i].trimmed();
        return value;
    }
    return {};
}

// Decodes quoted-printable by the rules of mail, independently of the sender's code.
QByteArray decodeQuotedPrintable(const QByteArray &text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            out += text[i];
        } else if (text.mid(i + 1, 2) == "\r\n") {
            i += 2;
        } else {
            out += char(text.mid(i + 1, 2).toInt(nullptr, 16));
            i += 2;
        }
    }
    return out;
}

// "=?UTF-8?B?...?=" words joined; a plain value as it is.
QString decodeHeader(const QByteArray &value)
{
    if (!value.startsWith("=?UTF-8?B?"))
        return QString::fromUtf8(value);
    QByteArray bytes;
    for (QByteArray word : value.split(' ')) {
        word = word.trimmed();
        if (word.startsWith("=?UTF-8?B?") && word.endsWith("?="))
            bytes += QByteArray::fromBase64(word.mid(10, word.size() - 12));
    }
    return QString::fromUtf8(bytes);
}

struct Received
{
    QByteArray head;
    QByteArray contentType; // of the part that holds the orders
    QByteArray disposition;
    QByteArray orders; // decoded
};

Received parse(const QByteArray &raw)
{
    Received r;
    const qsizetype split = raw.indexOf("\r\n\r\n");
    r.head = raw.left(split + 2);
    QByteArray body = raw.mid(split + 4);
    QByteArray partHead = r.head;
    const QByteArray type = headerValue(r.head, "Content-Type");
    if (type.startsWith("multipart/mixed")) {
        const QByteArray boundary = "--"
            + QString::fromLatin1(type)
                  .section(QStringLiteral("boundary=\""), 1)
                  .section(QLatin1Char('"'), 0, 0)
                  .toLatin1();
        const QByteArrayList pieces = [&] {
            QByteArrayList list;
            qsizetype from = body.indexOf(boundary);
            while (from >= 0) {
                const qsizetype next = body.indexOf(boundary, from + boundary.size());
                if (next < 0)
                    break;
                list.append(
                    body.mid(from + boundary.size() + 2, next - from - boundary.size() - 2));
                from = next;
            }
            return list;
        }();
        if (pieces.size() != 2)
            return r;
        const QByteArray attachment = pieces[1];
        const qsizetype at = attachment.indexOf("\r\n\r\n");
        partHead = attachment.left(at + 2);
        body = attachment.mid(at + 4);
        r.disposition = headerValue(partHead, "Content-Disposition");
        r.orders = QByteArray::fromBase64(body);
    } else if (headerValue(partHead, "Content-Transfer-Encoding") == "quoted-printable") {
        r.orders = decodeQuotedPrintable(body);
    } else {
        r.orders = body;
    }
    r.contentType = headerValue(partHead, "Content-Type");
    return r;
}

QString writeScript(const QString &path, const QByteArray &body)
{
    writeBytes(path, "#!/bin/sh\n" + body);
    QFile::setPermissions(
        path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return path;
}

} // namespace

// Sending the order file through a real SMTP server that requires STARTTLS and a
// login: slot 1 holds a Kalmora game (windows-1252), slot 2 a Sulvitan one (UTF-8).
class TestMail : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QString problem;
        QVERIFY2(m_server.start(&problem), qPrintable(problem));
        QCOMPARE(cli({QStringLiteral("import"), QStringLiteral("--slot"), QStringLiteral("1"),
                         QStringLiteral("--type"), QStringLiteral("Kalmora"),
                         fixture(QStringLiteral("reports/kalmora-klein.cr"))})
                     .code,
            0);
        QCOMPARE(cli({QStringLiteral("import"), QStringLiteral("--slot"), QStringLiteral("2"),
                         QStringLiteral("--type"), QStringLiteral("Sulvitan"),
                         fixture(QStringLiteral("reports/sulvitan-klein.cr"))})
                     .code,
            0);
        // The orders get lines that a careless mail would change.
        for (int slot : {1, 2}) {
            const QString file = orderFile(slot);
            QVERIFY2(!file.isEmpty(), "no order file after the import");
            writeBytes(file, readBytes(file) + trickyLines(slot == 2));
        }
        m_passwordFile = m_ws.file(QStringLiteral("passwort"));
        writeBytes(m_passwordFile, SmtpTestServer::password().toUtf8() + "\n");
        QFile::setPermissions(m_passwordFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void arrivesExactly_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<bool>("attach");
        QTest::addColumn<QString>("subject"); // given; empty: the default
        QTest::addColumn<QString>("expectedSubject");
        QTest::addColumn<QByteArray>("charset");
        QTest::newRow("Kalmora, text")
            << 1 << false << QString() << "Befehle 3mv" << QByteArray("windows-1252");
        QTest::newRow("Kalmora, attached") << 1 << true << "Befehle für Runde 4"
                                           << "Befehle für Runde 4" << QByteArray("windows-1252");
        QTest::newRow("Sulvitan, text") << 2 << false << "Züge → Sulvitan"
                                        << "Züge → Sulvitan" << QByteArray("UTF-8");
        QTest::newRow("Kalmora, long subject")
            << 1 << false
            << "Befehle für die vierte Runde des Nordreichs, geprüft und für gut befunden: "
               "Grüße an die Spielleitung"
            << "Befehle für die vierte Runde des Nordreichs, geprüft und für gut befunden: "
               "Grüße an die Spielleitung"
            << QByteArray("windows-1252");
        QTest::newRow("Sulvitan, attached")
            << 2 << true << QString() << "Befehle 4711" << QByteArray("UTF-8");
    }
    void arrivesExactly()
    {
        QFETCH(int, slot);
        QFETCH(bool, attach);
        QFETCH(QString, subject);
        QFETCH(QString, expectedSubject);
        QFETCH(QByteArray, charset);
        const QByteArray orders = readBytes(orderFile(slot));
        const qsizetype before = m_server.messages().size();
        const QStringList copiesBefore = copies(slot);
        QStringList extra;
        if (attach)
            extra << QStringLiteral("--attach");
        if (!subject.isEmpty())
            extra << QStringLiteral("--subject") << subject;
        const CliRun run = send(slot, extra);
        QVERIFY2(run.code == 0, qPrintable(run.where()));
        QCOMPARE(QString::fromUtf8(run.out),
            QStringLiteral("Gesendet an %1 (250 OK angenommen als %2)\n")
                .arg(kTo)
                .arg(before + 1, 3, 10, QLatin1Char('0')));

        const QList<QByteArray> messages = m_server.messages();
        QCOMPARE(messages.size(), before + 1);
        const QByteArray raw = messages.last();
        QCOMPARE(m_server.envelope(int(before)), QStringList({kFrom, kTo}));
        const Received got = parse(raw);
        QCOMPARE(headerValue(got.head, "From"), kFrom.toUtf8());
        QCOMPARE(headerValue(got.head, "To"), kTo.toUtf8());
        QCOMPARE(decodeHeader(headerValue(got.head, "Subject")), expectedSubject);
        QVERIFY(QDateTime::fromString(
            QString::fromLatin1(headerValue(got.head, "Date")), Qt::RFC2822Date)
                    .isValid());
        QVERIFY(headerValue(got.head, "Message-ID").endsWith("@example.org>"));
        QVERIFY(got.contentType.startsWith("text/plain; charset=" + charset));
        if (attach) {
            QCOMPARE(got.disposition,
                "attachment; filename=\"" + QFileInfo(orderFile(slot)).fileName().toUtf8() + '"');
        }
        QCOMPARE(got.orders, orders);
        // Every line of the message ends in CR LF, none longer than a mail line may be.
        for (const QByteArray &line : raw.split('\n').mid(0, raw.count('\n'))) {
            QVERIFY(line.endsWith('\r'));
            QVERIFY(line.size() <= 999);
        }
        // The copy is the message as sent, with the server and its answer on top.
        QStringList added = copies(slot);
        for (const QString &old : copiesBefore)
            added.removeOne(old);
        QCOMPARE(added.size(), 1);
        const QByteArray copy = readBytes(added.first());
        QVERIFY(copy.startsWith("X-Gesendet-Ueber: " + m_server.url().toUtf8()
            + "\r\nX-Server-Antwort: 250 OK angenommen als "));
        QVERIFY(copy.endsWith(raw));
    }

    // Every failure is told, naming the server, and nothing arrives or is kept.
    void failureSendsNothing_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<QString>("reason");
        const QString closed
            = QStringLiteral("smtp://127.0.0.1:%1").arg(SmtpTestServer::closedPort());
        QTest::newRow("wrong password") << QString() << QStringLiteral("Grüsse aus Kühlungsborn")
                                        << true << "Benutzername oder Passwort wurden abgelehnt";
        QTest::newRow("closed port") << closed << QString() << true << "keine Verbindung möglich";
        QTest::newRow("untrusted certificate")
            << QString() << QString() << false << "dem Zertifikat des Servers wird nicht vertraut";
        QTest::newRow("no login, server wants one")
            << QString() << QStringLiteral("-") << true << "der Server hat die Nachricht abgelehnt";
    }
    void failureSendsNothing()
    {
        QFETCH(QString, server);
        QFETCH(QString, password);
        QFETCH(bool, trusted);
        QFETCH(QString, reason);
        if (server.isEmpty())
            server = m_server.url();
        const qsizetype before = m_server.messages().size();
        const QStringList copiesBefore = copies(1);
        QStringList arguments = {QStringLiteral("send"), QStringLiteral("--slot"),
            QStringLiteral("1"), QStringLiteral("--smtp"), server, QStringLiteral("--from"), kFrom,
            QStringLiteral("--to"), kTo};
        if (trusted)
            arguments << QStringLiteral("--cafile") << m_server.certificate();
        if (password != u"-") {
            arguments << QStringLiteral("--user") << QString::fromLatin1(SmtpTestServer::kUser);
            if (!password.isEmpty()) {
                const QString file = m_ws.file(QStringLiteral("falsch"));
                writeBytes(file, password.toUtf8());
                QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
                arguments << QStringLiteral("--password-file") << file;
            } else {
                arguments << QStringLiteral("--password-file") << m_passwordFile;
            }
        }
        const CliRun run = cli(arguments);
        QVERIFY2(run.code == 2, qPrintable(run.where()));
        QVERIFY2(run.errText().contains(QStringLiteral("Die Befehle wurden nicht gesendet. Server ")
                     + server + QStringLiteral(": ") + reason),
            qPrintable(run.errText()));
        QVERIFY(run.out.isEmpty());
        QCOMPARE(m_server.messages().size(), before);
        QCOMPARE(copies(1), copiesBefore);
    }

    // A server that offers no STARTTLS never gets the password, although it would take
    // it in the clear.
    void noPasswordInTheClear()
    {
        SmtpTestServer careless;
        QString problem;
        QVERIFY2(careless.start(&problem, false), qPrintable(problem));
        const CliRun run = cli({QStringLiteral("send"), QStringLiteral("--slot"),
            QStringLiteral("1"), QStringLiteral("--smtp"), careless.url(), QStringLiteral("--from"),
            kFrom, QStringLiteral("--to"), kTo, QStringLiteral("--user"),
            QString::fromLatin1(SmtpTestServer::kUser), QStringLiteral("--password-file"),
            m_passwordFile});
        QVERIFY2(run.code == 2, qPrintable(run.where()));
        QVERIFY2(run.errText().contains(QStringLiteral("Server ") + careless.url()
                     + QStringLiteral(": der Server bietet keine Verschlüsselung (STARTTLS) an")),
            qPrintable(run.errText()));
        QVERIFY(careless.messages().isEmpty());
    }

    // A server that takes the connection and never answers is left at the time limit
    // of the slot's settings, and nothing is sent.
    void silentServerIsLeft()
    {
        QProcess silent;
        silent.start(QStringLiteral(TOLVIMAR_SYSTEM_PYTHON),
            {QStringLiteral("-c"),
                QStringLiteral("import socket, sys\n"
                               "s = socket.socket()\n"
                               "s.bind(('127.0.0.1', 0))\n"
                               "s.listen()\n"
                               "print(s.getsockname()[1], flush=True)\n"
                               "sys.stdin.read()\n")});
        QVERIFY(silent.waitForReadyRead(30000));
        const QString url = QStringLiteral("smtp://127.0.0.1:%1")
                                .arg(QString::fromLatin1(silent.readLine().trimmed()));
        const Workspace workspace(m_ws.path());
        MailSettings settings = MailSettings::load(workspace, 1);
        settings.timeoutSeconds = 2;
        settings.save(workspace, 1, nullptr);
        const CliRun run
            = runCliProcess(inWorkspace(m_ws.path(),
                                {QStringLiteral("send"), QStringLiteral("--slot"),
                                    QStringLiteral("1"), QStringLiteral("--smtp"), url,
                                    QStringLiteral("--from"), kFrom, QStringLiteral("--to"), kTo}),
                {}, QString(), 60000);
        settings.timeoutSeconds = 60;
        settings.save(workspace, 1, nullptr);
        silent.closeWriteChannel();
        silent.waitForFinished(10000);
        QVERIFY2(run.code == 2, qPrintable(run.where()));
        QVERIFY2(run.errText().contains(QStringLiteral("Server ") + url
                     + QStringLiteral(": keine Antwort innerhalb des Zeitlimits von 2 Sekunden")),
            qPrintable(run.errText()));
    }

    // A checker that reports errors stops the sending unless it is forced; one that
    // cannot run is named and the sending goes on.
    void checkerDecides_data()
    {
        QTest::addColumn<QByteArray>("script"); // empty: a checker that does not exist
        QTest::addColumn<bool>("force");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("delivered");
        QTest::addColumn<QString>("said");
        QTest::newRow("errors") << QByteArray("echo \"$1:3: Fehler\"\nexit 1\n") << false << 1 << 0
                                << "Der ZugChecker meldet Fehler (Rückgabewert 1).";
        QTest::newRow("errors, forced") << QByteArray("echo \"$1:3: Fehler\"\nexit 1\n") << true
                                        << 0 << 1 << "Der ZugChecker meldet Fehler";
        QTest::newRow("no errors") << QByteArray("echo alles gut\n") << false << 0 << 1 << "";
        QTest::newRow("cannot run") << QByteArray() << false << 0 << 1 << "wurde nicht gefunden.";
    }
    void checkerDecides()
    {
        QFETCH(QByteArray, script);
        QFETCH(bool, force);
        QFETCH(int, exitCode);
        QFETCH(int, delivered);
        QFETCH(QString, said);
        const QString checker = script.isEmpty()
            ? m_ws.file(QStringLiteral("fehlt.sh"))
            : writeScript(m_ws.file(QStringLiteral("checker.sh")), script);
        m_ws.setLine(2, Configuration::CheckerPath, checker);
        const qsizetype before = m_server.messages().size();
        const CliRun run = send(2, force ? QStringList {QStringLiteral("--force")} : QStringList());
        m_ws.setLine(2, Configuration::CheckerPath, QString());
        QVERIFY2(run.code == exitCode, qPrintable(run.where()));
        QVERIFY2(run.errText().contains(said), qPrintable(run.errText()));
        QCOMPARE(m_server.messages().size(), before + delivered);
        if (!script.isEmpty() && exitCode == 1)
            QVERIFY(run.out.contains(": Fehler"));
    }

    // The password comes from the environment too; a password file others may read
    // is refused before anything is sent.
    void passwordSources()
    {
        const qsizetype before = m_server.messages().size();
        qputenv("TOLVIMAR_SMTP_PASSWORD", SmtpTestServer::password().toUtf8());
        QStringList arguments = {QStringLiteral("send"), QStringLiteral("--slot"),
            QStringLiteral("1"), QStringLiteral("--smtp"), m_server.url(), QStringLiteral("--from"),
            kFrom, QStringLiteral("--to"), kTo, QStringLiteral("--user"),
            QString::fromLatin1(SmtpTestServer::kUser), QStringLiteral("--cafile"),
            m_server.certificate()};
        CliRun run = cli(arguments);
        qunsetenv("TOLVIMAR_SMTP_PASSWORD");
        QVERIFY2(run.code == 0, qPrintable(run.where()));
        QCOMPARE(m_server.messages().size(), before + 1);

        const QString open = m_ws.file(QStringLiteral("offen"));
        writeBytes(open, SmtpTestServer::password().toUtf8());
        QFile::setPermissions(open,
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                | QFileDevice::ReadOther);
        run = cli(arguments << QStringLiteral("--password-file") << open);
        QVERIFY2(run.code == 2, qPrintable(run.where()));
        QVERIFY2(run.errText().contains(QStringLiteral("0600")), qPrintable(run.errText()));
        QCOMPARE(m_server.messages().size(), before + 1);
    }

    // An address that would reach into the headers is refused.
    void addressesAreChecked_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<bool>("plain");
        QTest::newRow("plain") << "befehle@example.org" << true;
        QTest::newRow("line break") << "a@example.org\r\nBcc: b@example.org" << false;
        QTest::newRow("two") << "a@example.org,b@example.org" << false;
        QTest::newRow("bracket") << "a@example.org>" << false;
        QTest::newRow("no domain") << "befehle@" << false;
        QTest::newRow("empty") << "" << false;
    }
    void addressesAreChecked()
    {
        QFETCH(QString, address);
        QFETCH(bool, plain);
        QCOMPARE(addressProblem(address).isEmpty(), plain);
    }

private:
    CliRun cli(const QStringList &arguments)
    {
        return runCliProcess(inWorkspace(m_ws.path(), arguments));
    }
    CliRun send(int slot, const QStringList &extra)
    {
        return cli(
            QStringList {QStringLiteral("send"), QStringLiteral("--slot"), QString::number(slot),
                QStringLiteral("--smtp"), m_server.url(), QStringLiteral("--from"), kFrom,
                QStringLiteral("--to"), kTo, QStringLiteral("--user"),
                QString::fromLatin1(SmtpTestServer::kUser), QStringLiteral("--cafile"),
                m_server.certificate(), QStringLiteral("--password-file"), m_passwordFile}
            + extra);
    }
    QString programPath(int slot) const
    {
        // Relative to the workspace unless set otherwise.
        return QDir(m_ws.path()).filePath(m_ws.config().line(slot, Configuration::ProgramPath));
    }
    QString orderFile(int slot) const
    {
        const QDir dir(programPath(slot));
        const QStringList found = dir.entryList({QStringLiteral("Zug-Spiel*.txt")}, QDir::Files);
        return found.size() == 1 ? dir.filePath(found.first()) : QString();
    }
    QStringList copies(int slot) const
    {
        const QDir dir(QDir(programPath(slot)).filePath(QStringLiteral("gesendet")));
        QStringList paths;
        for (const QString &name :
            dir.entryList({QStringLiteral("*.eml")}, QDir::Files, QDir::Name))
            paths.append(dir.filePath(name));
        return paths;
    }

    TempWorkspace m_ws;
    SmtpTestServer m_server;
    QString m_passwordFile;
};

QTEST_MAIN(TestMail)
#include "test_mail.moc"
