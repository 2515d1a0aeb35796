#include "schema.h"

using namespace Qt::StringLiterals;

namespace tolvimar {

int TableDef::fieldIndex(QStringView field) const
{
    for (int i = 0; i < fields.size(); ++i) {
        if (fields[i].name == field)
            return i;
    }
    return -1;
}

QString sqlQuote(const QString &identifier)
{
    QString quoted = identifier;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

namespace schema {

namespace {

FieldDef intField(const QString &name)
{
    return {name, FieldType::Int, 0};
}

FieldDef textField(const QString &name, int size = 0)
{
    return {name, FieldType::Text, size};
}

FieldDef memoField(const QString &name)
{
    return {name, FieldType::Memo, 0};
}

} // namespace

const QStringList &itemFieldNames()
{
    static const QStringList names = {
        u"Holz"_s,
        u"Stein"_s,
        u"Pferd"_s,
        u"Eisen"_s,
        u"Wagen"_s,
        u"Plattenpanzer"_s,
        u"Gewürz"_s,
        u"Gewuerz"_s,
        u"Balsam"_s,
        u"Myrrhe"_s,
        u"Öl"_s,
        u"Oel"_s,
        u"Juwel"_s,
        u"Seide"_s,
        u"Weihrauch"_s,
        u"Kräuterbeutel"_s,
        u"Kraeuterbeutel"_s,
        u"Windbeutel"_s,
        u"Fjordwuchs"_s,
        u"Würzige Wagemut"_s,
        u"Flachwurz"_s,
        u"Blauer Baumringel"_s,
        u"Amulett"_s,
        u"Silberkassette"_s,
        u"Silberbeutel"_s,
        u"Wasserfinder"_s,
        u"Kakteenschwitz"_s,
        u"Sandfäule"_s,
        u"Steinbeißer"_s,
        u"Höhlenglimm"_s,
        u"Spaltwachs"_s,
        u"Grüner Spinnerich"_s,
        u"Elfenlieb"_s,
        u"Gurgelkräuter"_s,
        u"Schildstein"_s,
        u"Zauberstab"_s,
        u"Speer"_s,
        u"Bogen"_s,
        u"Schwert"_s,
        u"Katapult"_s,
        u"Armbrust"_s,
        u"Bihänder"_s,
        u"Elfenbogen"_s,
        u"Laen"_s,
        u"Mallorn"_s,
        u"Kriegsaxt"_s,
        u"Laenschwert"_s,
        u"Hellebarde"_s,
        u"Lanze"_s,
        u"Schild"_s,
        u"Laenschild"_s,
        u"Laenkettenhemd"_s,
        u"Kettenhemd"_s,
        u"Runenschwert"_s,
        u"Gurgelkraut"_s,
        u"Dumpfbackenbrot"_s,
        u"Wasser des Lebens"_s,
        u"Mäntel"_s,
        u"Ring der Macht"_s,
        u"Ring der Unsichtbarkeit"_s,
        u"Amulett des wahren Sehens"_s,
        u"Alraune"_s,
        u"Amulett der Keuschheit"_s,
        u"Amulett der Heilung"_s,
        u"Gehirnschmalz"_s,
        u"Weißer Wüterich"_s,
        u"Würziger Wagemut"_s,
        u"Eulenauge"_s,
        u"Blasenmorchel"_s,
        u"Knotiger Saugwurz"_s,
        u"Eisblume"_s,
        u"Schneekristall"_s,
        u"Heiltrank"_s,
        u"Schaffenstrunk"_s,
        u"Bauernlieb"_s,
        u"Drachenkopf"_s,
    };
    return names;
}

const QStringList &skillFieldNames()
{
    static const QStringList names = {
        u"Ausdauer"_s,
        u"Armbrustschiessen"_s,
        u"Bergbau"_s,
        u"Bogenschiessen"_s,
        u"Burgenbau"_s,
        u"Handeln"_s,
        u"Holzfällen"_s,
        u"Holzfaellen"_s,
        u"Katapultbedienung"_s,
        u"Magie"_s,
        u"Pferdedressur"_s,
        u"Reiten"_s,
        u"Rüstungsbau"_s,
        u"Ruestungsbau"_s,
        u"Schiffbau"_s,
        u"Schiffsbau"_s,
        u"Hiebwaffen"_s,
        u"Segeln"_s,
        u"Stangenwaffen"_s,
        u"Spionage"_s,
        u"Steinbau"_s,
        u"Steuereintreiben"_s,
        u"Strassenbau"_s,
        u"Taktik"_s,
        u"Tarnung"_s,
        u"Unterhaltung"_s,
        u"Waffenbau"_s,
        u"Wagenbau"_s,
        u"Wahrnehmung"_s,
        u"Kräuterkunde"_s,
        u"Alchemie"_s,
    };
    return names;
}

const TableDef &regionen()
{
    static const TableDef def = [] {
        TableDef t;
        t.name = u"regionen"_s;
        t.fields = {
            intField(u"Spiel"_s),
            intField(u"Breite"_s),
            intField(u"Länge"_s),
            intField(u"Ebene"_s),
            textField(u"Regionname"_s, 20),
            textField(u"Regiontyp"_s, 15),
            intField(u"Holzstämme"_s),
            intField(u"Bauern"_s),
            intField(u"VermögenBauern"_s),
            intField(u"Pferde"_s),
            intField(u"Unterhaltung max"_s),
            intField(u"Arbeitslohn"_s),
            intField(u"Rekrutieren"_s),
            intField(u"Luxusgüter"_s),
            intField(u"Info Datum"_s),
            textField(u"Bewachung"_s, 64),
            memoField(u"Beschreibung"_s),
            intField(u"Strasse"_s),
            intField(u"Lean"_s),
            intField(u"Eisen"_s),
            intField(u"Mallorn"_s),
            intField(u"Balsam"_s),
            intField(u"Gewuerz"_s),
            intField(u"Juwel"_s),
            intField(u"Myrrhe"_s),
            intField(u"Oel"_s),
            intField(u"Seide"_s),
            intField(u"Weihrauch"_s),
            memoField(u"Umgebung"_s),
            intField(u"Strasse1"_s),
            intField(u"Strasse2"_s),
            intField(u"Strasse3"_s),
            intField(u"Strasse4"_s),
            intField(u"Strasse5"_s),
            textField(u"Angebot"_s),
        };
        t.key = {u"Spiel"_s, u"Breite"_s, u"Länge"_s, u"Ebene"_s};
        t.indexes = {{u"Spiel"_s, u"Ebene"_s, u"Breite"_s, u"Länge"_s}};
        return t;
    }();
    return def;
}

const TableDef &ebenen()
{
    static const TableDef def = [] {
        TableDef t;
        t.name = u"ebenen"_s;
        t.fields = {intField(u"Spiel"_s), intField(u"Ebene"_s), textField(u"Name"_s, 30)};
        t.key = {u"Spiel"_s, u"Ebene"_s};
        return t;
    }();
    return def;
}

const TableDef &schiffe()
{
    static const TableDef def = [] {
        TableDef t;
        t.name = u"schiffe"_s;
        t.fields = {
            intField(u"Spiel"_s),
            intField(u"Schiffs Nr"_s),
            textField(u"Schiffs Name"_s),
            textField(u"Schiffs Position"_s),
            textField(u"Schiffs Beschreibung"_s),
            textField(u"Schiffstyp"_s),
            intField(u"Partei"_s),
            intField(u"Kapitaen"_s),
            textField(u"Kueste"_s),
            intField(u"Ladung"_s),
            intField(u"MaxLadung"_s),
            intField(u"Prozent"_s),
            intField(u"Info Datum"_s),
        };
        t.key = {u"Spiel"_s, u"Schiffs Nr"_s};
        t.indexes = {{u"Spiel"_s, u"Schiffs Position"_s}};
        return t;
    }();
    return def;
}

const TableDef &burgen()
{
    static const TableDef def = [] {
        TableDef t;
        t.name = u"burgen"_s;
        t.fields = {
            intField(u"Spiel"_s),
            intField(u"Burg Nr"_s),
            textField(u"Burg Name"_s),
            textField(u"Burg Position"_s),
            textField(u"Burg Beschreibung"_s),
            textField(u"Typ"_s),
            intField(u"Burggrösse"_s),
            intField(u"Besitzer"_s),
            intField(u"Partei"_s),
            intField(u"Unterhalt"_s),
            intField(u"Belagerer"_s),
            intField(u"Info Datum"_s),
        };
        t.key = {u"Spiel"_s, u"Burg Nr"_s};
        t.indexes = {{u"Spiel"_s, u"Burg Position"_s}};
        return t;
    }();
    return def;
}

const TableDef &einheiten()
{
    static const TableDef def = [] {
        TableDef t;
        t.name = u"einheiten"_s;
        t.fields = {
            intField(u"Spiel"_s),
            textField(u"Einheit Position"_s, 15),
            intField(u"Einheit Nr"_s),
            textField(u"Einheit Name"_s, 80),
            memoField(u"Einheit Beschreibung"_s),
            intField(u"Personen"_s),
            textField(u"Stationiert"_s, 10),
            intField(u"Partei Nr"_s),
            textField(u"Status"_s, 25),
            intField(u"Silber"_s),
        };
        for (const QString &item : itemFieldNames())
            t.fields.append(intField(item));
        for (const QString &skill : skillFieldNames())
            t.fields.append(textField(skill, 10));
        t.fields += {
            memoField(u"Default Befehl"_s),
            intField(u"Info Datum"_s),
            textField(u"Rasse"_s, 20),
            memoField(u"Zauber"_s),
            textField(u"Gruppe"_s, 20),
            textField(u"Kommt aus"_s, 30),
            textField(u"Privat"_s, 100),
            textField(u"Flags"_s, 5),
            intField(u"Phiolen"_s),
            intField(u"Einreisedatum"_s),
            textField(u"Hitpoints"_s, 20),
            memoField(u"Unbekannte Talente"_s),
            memoField(u"Unbekannte Gegenstaende"_s),
        };
        t.key = {u"Spiel"_s, u"Einheit Nr"_s};
        // Units of a region; the own units of a turn (map overlay, armies).
        t.indexes = {{u"Spiel"_s, u"Einheit Position"_s, u"Einheit Nr"_s},
            {u"Spiel"_s, u"Partei Nr"_s, u"Info Datum"_s}};
        return t;
    }();
    return def;
}

const TableDef &parteien()
{
    static const TableDef def = [] {
        TableDef t;
        t.name = u"parteien"_s;
        t.fields = {
            intField(u"Spiel"_s),
            intField(u"Partei Nr"_s),
            textField(u"Partei Name"_s, 50),
            textField(u"E-Mail"_s, 50),
            memoField(u"Banner"_s),
            memoField(u"Notizen"_s),
            intField(u"Datum"_s),
        };
        t.key = {u"Spiel"_s, u"Partei Nr"_s};
        return t;
    }();
    return def;
}

const TableDef &statistik()
{
    static const TableDef def = [] {
        TableDef t;
        t.name = u"statistik"_s;
        t.fields = {
            intField(u"Spiel"_s),
            intField(u"Breite"_s),
            intField(u"Länge"_s),
            intField(u"Ebene"_s),
            intField(u"Datum"_s),
            intField(u"Bauern"_s),
            intField(u"Bauern Silber"_s),
            intField(u"Pferde"_s),
            intField(u"Laen"_s),
            intField(u"Eisen"_s),
            intField(u"Mallorn"_s),
            intField(u"Anzahl Holz"_s),
            intField(u"PunkteNeu"_s),
            intField(u"PunkteSchnitt"_s),
            intField(u"PunkteDiv"_s),
            intField(u"ParteiSilber"_s),
            intField(u"Personen"_s),
        };
        t.key = {u"Spiel"_s, u"Breite"_s, u"Länge"_s, u"Ebene"_s, u"Datum"_s};
        t.indexes = {{u"Spiel"_s, u"Breite"_s, u"Länge"_s, u"Datum"_s}};
        return t;
    }();
    return def;
}

const QList<const TableDef *> &allTables()
{
    static const QList<const TableDef *> tables
        = {&regionen(), &ebenen(), &schiffe(), &burgen(), &einheiten(), &parteien(), &statistik()};
    return tables;
}

} // namespace schema
} // namespace tolvimar
