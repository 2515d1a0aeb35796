#include "regioncommands.h"

#include "app/session.h"
#include "cliutil.h"
#include "map/regiondetail.h"

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

// The captions of the page "Region Info" with the values of the region row; empty
// values when the region has no row.
QList<std::pair<QString, QString>> regionFields(const RegionView &view)
{
    const std::optional<RegionRow> &r = view.region;
    const auto field
        = [&](const QVariant RegionRow::*member) { return r ? text((*r).*member) : QString(); };
    QList<std::pair<QString, QString>> fields = {
        {u"Region Name"_s, r ? r->name : QString()},
        {u"Region Typ"_s, r ? r->terrain : QString()},
        {u"X / Y"_s, r ? u"%1 / %2"_s.arg(r->x).arg(r->y) : QString()},
        {u"Bäume"_s, field(&RegionRow::trees)},
        {u"Bauern"_s, field(&RegionRow::peasants)},
        {u"Pferde"_s, field(&RegionRow::horses)},
        {u"Eisen"_s, field(&RegionRow::iron)},
        {u"Laen"_s, field(&RegionRow::laen)},
        {u"Mallorn"_s, field(&RegionRow::mallorn)},
        {u"Lohn"_s, field(&RegionRow::wage)},
        {u"Bauern Silber"_s, field(&RegionRow::peasantSilver)},
        {u"Unterhaltung"_s, field(&RegionRow::entertainment)},
        {u"rekrutieren"_s, field(&RegionRow::recruits)},
        {u"Luxusgüter zum Preis"_s, field(&RegionRow::luxury)},
    };
    const QString luxuries[7] = {
        u"Balsam"_s, u"Gewürze"_s, u"Juwelen"_s, u"Myrrhe"_s, u"Oel"_s, u"Seide"_s, u"Weihrauch"_s};
    for (int i = 0; i < 7; ++i)
        fields.append({luxuries[i], r ? text(r->prices[i]) : QString()});
    QStringList roads;
    for (int i = 0; r && i < 6; ++i)
        roads.append(text(r->roads[i]));
    fields.append({u"Straße"_s, roads.join(u", "_s)});
    fields.append({u"Region Beschreibung"_s, r ? r->description : QString()});
    fields.append({u"Region Umgebung"_s, view.memo8});
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
    selection.previousPosition = session.mapState().regionPosition();
    const RegionView view
        = RegionDetail(session.database()).getSekKoo(session.game(), x, y, selection);

    QTextStream &o = out();
    o << view.panel1 << "\n\n";
    for (const auto &[caption, value] : regionFields(view))
        o << caption << ": " << oneLine(value) << "\n";
    o << "\nEinheiten in Region :\n";
    for (const QString &line : view.units)
        o << line << "\n";
    o << "\nDie Region wird bewacht von :\n";
    for (const QString &line : view.guards)
        o << line << "\n";
    const PropertySums &s = view.property;
    o << "\nParteieigentum\n"
      << "Silber: " << s.silver << "\n"
      << "Leute: " << s.persons << "\n"
      << "Holz: " << s.wood << "\n"
      << "Stein: " << s.stone << "\n"
      << "Eisen: " << s.iron << "\n"
      << "Lean: " << s.laen << "\n"
      << "Mallorn: " << s.mallorn << "\n";
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
