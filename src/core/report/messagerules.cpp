#include "messagerules.h"

#include "../base/errors.h"
#include "blocklines.h"
#include "datecode.h"
#include "importcontext.h"

#include <climits>

namespace tolvimar {

namespace {

// A plain section line without its first two characters and its last one.
QString sectionItem(QStringView line)
{
    if (line.size() < 3)
        return QString();
    return line.mid(2, line.size() - 3).toString();
}

bool hasQuote(ImportContext &ctx)
{
    return !ctx.atBlockEnd() && ctx.line().contains(u'"');
}

bool hasSemicolon(const ImportContext &ctx)
{
    return !ctx.atEnd() && ctx.line().contains(u';');
}

// The items of a plain section into one page; the line after the keyword is taken
// unless it opens a block, further lines while they are quoted.
void readItems(ImportContext &ctx, Page page, bool blankAfterEach = false)
{
    do {
        if (ctx.atBlockEnd())
            return;
        if (page == Page::Kaempfe)
            ctx.pages.kaempfeRed = true;
        ctx.pages.append(page, sectionItem(ctx.line()));
        if (blankAfterEach)
            ctx.pages.append(page, QString());
        ++ctx.cursor;
    } while (hasQuote(ctx));
}

QString helpSuffix(int status)
{
    switch (status) {
    case 0:
        return QStringLiteral(" = Helfe Nicht");
    case 8:
        return QStringLiteral(" = Helfe Gib");
    case 10:
        return QStringLiteral(" = Helfe Kampf, Gib");
    case 11:
        return QStringLiteral(" = Helfe Kampf, Gib, Silber");
    case 25:
        return QStringLiteral(" = Helfe Gib, Silber, Bewache");
    case 27:
        return QStringLiteral(" = Helfe Alles");
    default:
        return QString();
    }
}

// One record of three lines: header or number, name, status.
void readAllianceRecord(ImportContext &ctx)
{
    const int c = ctx.cursor;
    const QString name = quotedText(ctx.lineAt(c + 1));
    const int status = intValue(ctx.lineAt(c + 2), c + 2);
    const QString suffix = helpSuffix(status);
    if (!suffix.isEmpty())
        ctx.pages.append(Page::Buendnisse, name + suffix);
    ctx.cursor += 3;
}

// The lines of one faction after its number: name, e-mail, optional banner. They
// are taken only as far as the faction's block goes: a header after a short record
// belongs to the next block and is never read as a name.
void readFactionRecord(ImportContext &ctx, int factionNumber)
{
    Table &t = *ctx.parteien;
    t.editOrAppend({ctx.game.number, factionNumber});
    const auto inRecord
        = [&ctx](int i) { return i < ctx.lines.count() && !isBlockHeader(ctx.lineAt(i)); };
    int next = ctx.cursor + 1;
    QString name, email;
    if (inRecord(next)) {
        name = quotedText(ctx.lineAt(next++));
        if (inRecord(next))
            email = quotedText(ctx.lineAt(next++));
    }
    t.setValue(u"Partei Name", name);
    t.setValue(u"E-Mail", email);
    if (inRecord(next)
        && (hasKey(ctx.lineAt(next), u"banner") || hasKey(ctx.lineAt(next), u"Banner")))
        t.setValue(u"Banner", quotedText(ctx.lineAt(next++)));
    t.setValue(u"Datum", ctx.dateCode);
    t.post();
    ctx.cursor = next;
}

// A faction block that carries a password is the header of a faction's own report,
// as clients leave it when they merge reports: read as another faction's record it
// would name the faction by its password. Such a report is refused.
void refuseFactionHeader(ImportContext &ctx)
{
    for (int i = ctx.cursor + 1; i < ctx.lines.count() && !isBlockHeader(ctx.lineAt(i)); ++i) {
        if (hasKey(ctx.lineAt(i), u"Passwort"))
            ctx.refuseAt(ctx.cursor,
                QStringLiteral("ein zweiter Parteikopf steht mitten im CR (zusammengefügte "
                               "Berichte liest Tolvimar nicht)."));
    }
}

// A version line after the header, as clients leave it when they merge reports: of
// the same version and turn it says nothing new and is passed over with its lines;
// another version or turn cannot be read into this one, and the report is refused.
void readRepeatedVersion(ImportContext &ctx, QStringView header)
{
    const int at = ctx.cursor;
    if (toInt(header.mid(8), header, at) != ctx.version)
        ctx.refuseAt(at,
            QStringLiteral("eine zweite Versionszeile nennt eine andere Version als die erste "
                           "(VERSION %1).")
                .arg(ctx.version));
    for (++ctx.cursor; !ctx.atEnd() && !isBlockHeader(ctx.line()); ++ctx.cursor) {
        if (hasKey(ctx.line(), u"Runde")
            && dateFromTurn(intValue(ctx.line(), ctx.cursor)).code != ctx.dateCode)
            ctx.refuseAt(ctx.cursor,
                QStringLiteral("nach einer zweiten Versionszeile steht eine andere Runde als "
                               "im Kopf des CR."));
    }
}

void markBattle(ImportContext &ctx, QStringView header, int lineIndex)
{
    // "BATTLE x y" (a third number is the level of the region).
    const QStringView rest = header.mid(7);
    const QList<QStringView> parts = rest.split(u' ', Qt::SkipEmptyParts);
    if (parts.size() < 2)
        toInt(parts.value(1), header, lineIndex); // throws: no y coordinate
    const int x = toInt(parts[0], header, lineIndex);
    const int y = toInt(parts[1], header, lineIndex);
    Table &regions = *ctx.regionen;
    bool found = false;
    if (parts.size() >= 3) {
        const int z = toInt(parts[2], header, lineIndex);
        found = regions.findKey({ctx.game.number, x, y, z});
    } else {
        found = regions.findKey({ctx.game.number, x, y});
    }
    if (!found)
        return;
    regions.edit();
    regions.setValue(
        u"Umgebung", QStringLiteral("Kampf in Runde ") + QString::number(ctx.dateCode));
    regions.post();
}

// A message's amount is only added to a total: a word where the number stands adds
// nothing and is named after the import instead of stopping it.
void readAmount(ImportContext &ctx, QStringView line)
{
    qint64 amount = 0;
    switch (parseStrictInt64(numberText(line), &amount)) {
    case NumberParse::Ok:
        if (amount >= INT_MIN && amount <= INT_MAX) {
            ctx.messageAmount = int(amount);
            return;
        }
        break;
    case NumberParse::NotANumber:
        ctx.messageAmount = 0;
        ctx.wordValueLines.append(ctx.cursor);
        return;
    case NumberParse::TooLarge:
        break;
    }
    intValue(line, ctx.cursor); // throws: a number too large to hold
}

void readMessage(ImportContext &ctx)
{
    ++ctx.cursor;
    bool hasText = false;
    do {
        if (ctx.atEnd())
            break;
        const QStringView line = ctx.line();
        const QStringView key = lineKey(line);
        if (key == u"type")
            ctx.messageType = intValue(line, ctx.cursor);
        else if (key == u"amount")
            readAmount(ctx, line);
        else if (hasTextKey(line, u"rendered")) {
            ctx.messageText = quotedText(line);
            hasText = true;
        }
        ++ctx.cursor;
    } while (hasSemicolon(ctx));
    // A block without a text of its own shows nothing rather than the last text again.
    if (!hasText)
        return;
    const int destination = messageDestination(ctx.messageType, ctx.messageText, ctx.inBattle);
    const Page page = Page(destination);
    if (page == Page::Kaempfe)
        ctx.pages.kaempfeRed = true;
    ctx.pages.append(page, ctx.messageText);
    if (ctx.messageType == 2097)
        ctx.addToStatus(StatusField::Gesamteinkommen, ctx.messageAmount);
}

} // namespace

int messageDestination(int type, const QString &text, bool inBattle)
{
    switch (type) {
    case 364:
    case 581:
    case 1186:
    case 22292:
        return int(Page::Handel);
    case 2097:
    case 11929:
        return int(Page::Einkommen);
    case 2224:
    case 9173:
        return int(Page::Kaempfe);
    case 2420:
        return int(Page::Bewegungen);
    case 3089:
        return int(Page::Botschaften);
    case 3633:
    case 3729:
    case 3761:
    case 3793:
    case 4049:
    case 4323:
        return int(Page::Ereignisse);
    case 4216:
    case 8588:
    case 12095:
    case 17676:
    case 18362:
    case 21740:
        return int(Page::Produktion);
    case 4419:
        if (containsText(text, u"segelt") || containsText(text, u"reitet"))
            return int(Page::Bewegungen);
        return int(inBattle ? Page::Kaempfe : Page::Botschaften);
    default:
        return int(Page::Botschaften);
    }
}

void applySectionRule(ImportContext &ctx)
{
    // Section names compare without blanks at the end; a block header with a blank
    // but no number still opens its block, whose reader then names the line.
    const QStringView raw = ctx.line();
    const QStringView line = headerText(raw);
    const int lineIndex = ctx.cursor;
    if (line == u"FEHLER") {
        ++ctx.cursor;
        ctx.pages.append(Page::Botschaften, QStringLiteral("Fehler:"));
        ctx.pages.append(Page::Botschaften, QString());
        readItems(ctx, Page::Botschaften);
    } else if (line == u"WARNUNGEN") {
        ++ctx.cursor;
        ctx.pages.append(Page::Botschaften, QString());
        ctx.pages.append(Page::Botschaften, QStringLiteral("Warnungen:"));
        ctx.pages.append(Page::Botschaften, QString());
        readItems(ctx, Page::Botschaften);
    } else if (line == u"KAEMPFE") {
        ++ctx.cursor;
        readItems(ctx, Page::Kaempfe);
    } else if (line == u"MELDUNGEN") {
        ++ctx.cursor;
        ctx.pages.append(Page::Botschaften, QString());
        ctx.pages.append(Page::Botschaften, QStringLiteral("Meldungen:"));
        ctx.pages.append(Page::Botschaften, QString());
        readItems(ctx, Page::Botschaften, true);
    } else if (line == u"EREIGNISSE" || line == u"EINKOMMEN" || line == u"HANDEL"
        || line == u"PRODUKTION" || line == u"BEWEGUNGEN") {
        const Page page = line == u"EREIGNISSE" ? Page::Ereignisse
            : line == u"EINKOMMEN"              ? Page::Einkommen
            : line == u"HANDEL"                 ? Page::Handel
            : line == u"PRODUKTION"             ? Page::Produktion
                                                : Page::Bewegungen;
        ++ctx.cursor;
        readItems(ctx, page);
    } else if (opensBlockWithNumber(raw, u"BATTLE")) {
        ctx.inBattle = true;
        ++ctx.cursor;
        ctx.pages.kaempfeRed = true;
        ctx.pages.append(Page::Kaempfe, QString());
        ctx.pages.append(Page::Kaempfe, QString());
        ctx.pages.append(Page::Kaempfe,
            QStringLiteral("Kampf in Region: ") + line.mid(6).toString() + QStringLiteral(" !"));
        ctx.pages.append(Page::Kaempfe, QString());
        markBattle(ctx, line, lineIndex);
    } else if (opensBlockWithNumber(raw, u"MESSAGE")) {
        readMessage(ctx);
    } else if (line == u"ALLIIERTE") {
        ++ctx.cursor;
        do {
            if (ctx.atEnd())
                break;
            readAllianceRecord(ctx);
        } while (hasSemicolon(ctx));
    } else if (line == u"ADRESSEN") {
        ++ctx.cursor;
        do {
            if (ctx.atEnd())
                break;
            readFactionRecord(ctx, intValue(ctx.line(), ctx.cursor));
        } while (hasSemicolon(ctx));
    } else if (opensBlockWithNumber(raw, u"ALLIANZ")) {
        do {
            readAllianceRecord(ctx);
        } while (!ctx.atEnd() && opensBlockWithNumber(ctx.line(), u"ALLIANZ"));
    } else if (opensBlockWithNumber(raw, u"PARTEI")) {
        do {
            refuseFactionHeader(ctx);
            const QStringView header = headerText(ctx.line());
            const qsizetype blank = header.indexOf(u' ');
            readFactionRecord(ctx, toInt(header.mid(blank + 1), header, ctx.cursor));
        } while (!ctx.atEnd() && opensBlockWithNumber(ctx.line(), u"PARTEI"));
    } else if (opensBlockWithNumber(raw, u"VERSION")) {
        readRepeatedVersion(ctx, line);
    } else if (isBlockHeader(line)) {
        // A block no rule reads is passed over whole.
        ctx.skipBlock();
    } else {
        ++ctx.cursor;
    }
}

} // namespace tolvimar
