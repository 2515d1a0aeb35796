#include "regioncommands.h"

#include "app/session.h"
#include "cliutil.h"
#include "map/regiondetail.h"
#include "map/regionfields.h"

namespace tolvimar::cli {

namespace {

using namespace Qt::StringLiterals;

// Multi-line values stay on their line, each break written as "\n".
QString oneLine(QString text)
{
    text.replace(u"\r\n"_s, u"\\n"_s);
    text.replace(u'\r', u"\\n"_s);
    text.replace(u'\n', u"\\n"_s);
    return text;
}

QString text(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

// The captions of the page "Region Info" with the values of the region row, the values
// of one caption joined; empty values when the region has no row.
QList<std::pair<QString, QString>> regionFields(const RegionView &view)
{
    QList<std::pair<QString, QString>> fields;
    for (const RegionField &f : tolvimar::regionFields()) {
        const QString value = view.region ? text(f.value(*view.region)) : QString();
        if (!fields.isEmpty() && fields.last().first == f.caption) {
            if (view.region)
                fields.last().second += f.joiner + value;
        } else {
            fields.append({f.caption, value});
        }
    }
    fields.append({u"Region Umgebung"_s, view.surroundings});
    return fields;
}

bool integerArgument(const QString &text, int *value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok;
}

} // namespace

int region(const Arguments &args)
{
    CommandOptions options;
    QString problem;
    if (!parseCommandOptions(args.rest, {u"--slot"_s, u"--level"_s},
            {u"--own-only"_s, u"--all-turns"_s}, &options, &problem))
        return usage(problem);
    const int slot = slotOption(options, &problem);
    if (slot == 0)
        return usage(problem);
    int x = 0;
    int y = 0;
    if (options.positional.size() != 2 || !integerArgument(options.positional[0], &x)
        || !integerArgument(options.positional[1], &y))
        return usage(u"region braucht die ganzen Zahlen X und Y."_s);
    RegionSelection selection;
    if (options.values.contains(u"--level"_s)
        && !integerArgument(options.values.value(u"--level"_s), &selection.level))
        return usage(u"--level braucht eine ganze Zahl."_s);
    selection.allUnits = !options.flags.contains(u"--own-only"_s);
    selection.currentOnly = !options.flags.contains(u"--all-turns"_s);

    ScriptedPrompter prompter;
    echoToStderr(prompter);
    const std::unique_ptr<Session> opened = openWorkspace(args, prompter);
    Session &session = *opened;
    openSlot(session, slot, QString());
    selection.previousRegion = session.mapState().shownRegion();
    const RegionView view
        = RegionDetail(session.database()).regionView(session.game(), x, y, selection);

    QTextStream &o = out();
    o << view.caption << "\n\n";
    for (const auto &[caption, value] : regionFields(view))
        o << caption << ": " << oneLine(value) << "\n";
    o << "\nEinheiten in Region :\n";
    for (const QString &line : view.unitLines())
        o << line << "\n";
    o << "\nDie Region wird bewacht von :\n";
    for (const QString &line : view.guards)
        o << line << "\n";
    const PropertySums &s = view.property;
    o << "\nParteieigentum\n";
    for (const auto &[caption, sum] : s.boxes())
        o << caption << ": " << sum << "\n";
    for (const QString &line : s.goodsLines())
        o << line << "\n";
    o << "\nRegions Stati\n";
    if (view.history) {
        for (const QStringList &row : *view.history)
            o << row.join(u'\t') << "\n";
    }
    o << "\n";
    return 0;
}

} // namespace tolvimar::cli
