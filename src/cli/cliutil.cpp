#include "cliutil.h"

#include "app/session.h"
#include "base/errors.h"
#include "base/workspace.h"

#include <QFileInfo>
#include <QIODevice>
#include <cstdio>

namespace tolvimar::cli {

namespace {

// Text from a report or a configuration goes to a terminal: control characters in it
// are shown escaped ("\x1b"), never sent raw, so that they cannot steer the terminal.
// Works on the UTF-8 bytes: C0 controls and DEL are single bytes, C1 controls are
// 0xC2 followed by 0x80 to 0x9F.
class TerminalSafeDevice : public QIODevice
{
public:
    explicit TerminalSafeDevice(FILE *file)
        : m_file(file)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        QByteArray safe;
        safe.reserve(length);
        for (qint64 i = 0; i < length; ++i) {
            const auto b = static_cast<unsigned char>(data[i]);
            if (m_pendingC2) {
                m_pendingC2 = false;
                if (b >= 0x80 && b <= 0x9F) {
                    safe += escape(b);
                    continue;
                }
                safe += char(0xC2);
            }
            if (b == 0xC2)
                m_pendingC2 = true;
            else if ((b < 0x20 && b != '\n' && b != '\t') || b == 0x7F)
                safe += escape(b);
            else
                safe += char(b);
        }
        fwrite(safe.constData(), 1, size_t(safe.size()), m_file);
        fflush(m_file);
        return length;
    }

private:
    static QByteArray escape(unsigned char b)
    {
        return QByteArray("\\x") + QByteArray::number(b, 16).rightJustified(2, '0');
    }

    FILE *m_file;
    bool m_pendingC2 = false;
};

} // namespace

QString escaped(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != u'\n' && u != u'\t') || (u >= 0x7F && u < 0xA0))
            result += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            result += c;
    }
    return result;
}

QTextStream &out()
{
    static TerminalSafeDevice device(stdout);
    static QTextStream stream(&device);
    return stream;
}

QTextStream &err()
{
    static TerminalSafeDevice device(stderr);
    static QTextStream stream(&device);
    return stream;
}

int usage(const QString &problem)
{
    if (!problem.isEmpty())
        err() << problem << "\n";
    err() << usageText();
    err().flush();
    return 2;
}

bool parseGlobal(const QStringList &arguments, Arguments *parsed, QString *problem)
{
    for (int i = 1; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (parsed->command.isEmpty()) {
            if (a == QStringLiteral("--workspace")) {
                if (++i >= arguments.size()) {
                    *problem = QStringLiteral("--workspace braucht ein Verzeichnis.");
                    return false;
                }
                parsed->workspace = arguments[i];
            } else if (a.startsWith(QStringLiteral("--workspace="))) {
                parsed->workspace = a.mid(12);
            } else if (a.startsWith(u'-')) {
                *problem = QStringLiteral("Unbekannte Option: ") + a;
                return false;
            } else {
                parsed->command = a;
            }
        } else {
            parsed->rest.append(a);
        }
    }
    if (parsed->command.isEmpty()) {
        *problem = QStringLiteral("Kein Befehl angegeben.");
        return false;
    }
    return true;
}

bool parseCommandOptions(const QStringList &rest, const QStringList &valueOptions,
    const QStringList &flagOptions, CommandOptions *options, QString *problem)
{
    for (int i = 0; i < rest.size(); ++i) {
        const QString &a = rest[i];
        if (valueOptions.contains(a)) {
            if (++i >= rest.size()) {
                *problem = a + QStringLiteral(" braucht einen Wert.");
                return false;
            }
            options->values.insert(a, rest[i]);
        } else if (flagOptions.contains(a)) {
            options->flags.insert(a);
        } else if (a.startsWith(QStringLiteral("--"))) {
            *problem = QStringLiteral("Unbekannte Option: ") + a;
            return false;
        } else {
            options->positional.append(a);
        }
    }
    return true;
}

// Reads --slot; returns 0 and sets problem when it is missing or not 1 to 6.
int slotOption(const CommandOptions &options, QString *problem)
{
    bool ok = false;
    const int slot = options.values.value(QStringLiteral("--slot")).toInt(&ok);
    if (!ok || slot < 1 || slot > 6) {
        *problem = QStringLiteral("--slot braucht eine Spielnummer von 1 bis 6.");
        return 0;
    }
    return slot;
}

std::unique_ptr<Session> openWorkspace(const Arguments &args, Prompter &prompter)
{
    const Workspace workspace(args.workspace);
    if (!QFileInfo::exists(workspace.configPath())) {
        throw UserError(
            QStringLiteral("%1 ist kein Arbeitsverzeichnis von Tolvimar (es gibt dort keine "
                           "tolvimar.cfg). Ein neues legt \"init\" oder \"import\" an.")
                .arg(QDir::toNativeSeparators(workspace.dir())));
    }
    return std::make_unique<Session>(args.workspace, prompter);
}

void echoToStderr(ScriptedPrompter &prompter)
{
    prompter.echo = [](const ScriptedPrompter::Entry &e) {
        err() << e.text << "\n";
        err().flush();
    };
}

void openSlot(Session &session, int slot, const QString &typeOverride)
{
    const Configuration &config = session.selection();
    const QString type
        = typeOverride.isEmpty() ? config.line(slot, Configuration::GameTypeText) : typeOverride;
    session.openGame(slot, config.line(slot, Configuration::GameName), type);
}

int openSlotCommand(const Arguments &args, OpenedSlot *opened)
{
    CommandOptions options;
    QString problem;
    if (!parseCommandOptions(args.rest, {QStringLiteral("--slot")}, {}, &options, &problem))
        return usage(problem);
    const int slot = slotOption(options, &problem);
    if (slot == 0)
        return usage(problem);
    if (!options.positional.isEmpty())
        return usage(args.command + QStringLiteral(" kennt keine weiteren Argumente."));
    echoToStderr(opened->prompter);
    opened->session = openWorkspace(args, opened->prompter);
    openSlot(*opened->session, slot, QString());
    return -1;
}

} // namespace tolvimar::cli
