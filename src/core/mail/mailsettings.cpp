#include "mailsettings.h"

#include "../base/identifiers.h"
#include "../base/slotsettings.h"

namespace tolvimar {

namespace {

const QString kServer = QStringLiteral("MailServer");
const QString kUser = QStringLiteral("MailBenutzer");
const QString kFrom = QStringLiteral("MailAbsender");
const QString kTo = QStringLiteral("MailBefehlsadresse");
const QString kSubject = QStringLiteral("MailBetreff");
const QString kAttach = QStringLiteral("MailAlsAnhang");
const QString kCaFile = QStringLiteral("MailZertifikate");
const QString kTimeout = QStringLiteral("MailZeitlimit");

} // namespace

MailSettings MailSettings::load(const Workspace &workspace, int game)
{
    const SlotSettings stored(workspace, game);
    MailSettings settings;
    settings.serverUrl = stored.value(kServer).trimmed();
    settings.user = stored.value(kUser).trimmed();
    settings.from = stored.value(kFrom).trimmed();
    settings.to = stored.value(kTo).trimmed();
    settings.subject = stored.value(kSubject);
    settings.attach = stored.value(kAttach) == u"1";
    settings.caFile = stored.value(kCaFile).trimmed();
    bool ok = false;
    const int timeout = stored.value(kTimeout).toInt(&ok);
    if (ok && timeout > 0)
        settings.timeoutSeconds = timeout;
    return settings;
}

void MailSettings::save(const Workspace &workspace, int game, WorkspaceLock *lock) const
{
    SlotSettings stored(workspace, game);
    stored.setValue(kServer, serverUrl.trimmed(), lock);
    stored.setValue(kUser, user.trimmed(), lock);
    stored.setValue(kFrom, from.trimmed(), lock);
    stored.setValue(kTo, to.trimmed(), lock);
    stored.setValue(kSubject, subject, lock);
    stored.setValue(kAttach, attach ? QStringLiteral("1") : QStringLiteral("0"), lock);
    stored.setValue(kCaFile, caFile.trimmed(), lock);
    stored.setValue(kTimeout, QString::number(timeoutSeconds), lock);
}

QString MailSettings::subjectFor(const ActiveGame &game) const
{
    if (!subject.trimmed().isEmpty())
        return subject.trimmed();
    return QStringLiteral("Befehle ") + numberText(game.factionNumber, game.type, game.base);
}

} // namespace tolvimar
