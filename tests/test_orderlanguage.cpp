#include "app/importundo.h"
#include "base/gamefiles.h"
#include "base/identifiers.h"
#include "orders/ordercompletion.h"
#include "orders/orderline.h"
#include "orders/orderproblems.h"
#include "orders/ordervocabulary.h"
#include "orders/templatelines.h"
#include "reportgenerator.h"
#include "testsupport.h"

#include <QFile>
#include <QTextDocument>
#include <QtTest>

using namespace tolvimar;
using namespace tolvimar::test;

namespace {

// A Kalmora game (base 36) of the small report: units 3mw, 3mx, 3my and the foreign
// 3uw at 1/2, 3mz at 3/-4/1, 3mu at 9/9; castle 6t and ship 25 at 1/2, ship 2s elsewhere;
// factions 3mv and 3pc.
OrderVocabulary kalmora(const OrderLanguage &language = OrderLanguage::builtIn())
{
    OrderVocabulary v(language, GameType::Kalmora, 36);
    for (int unit : {4712, 4713, 4714, 5000})
        v.addId(ArgumentKind::Unit, unit, QStringLiteral("1/2"));
    v.addId(ArgumentKind::Unit, 4715, QStringLiteral("3/-4/1"));
    v.addId(ArgumentKind::Unit, 4710, QStringLiteral("9/9")); // 3mu: first by number
    v.addId(ArgumentKind::Castle, 245, QStringLiteral("1/2/0"));
    v.addId(ArgumentKind::Ship, 77, QStringLiteral("1/2"));
    v.addId(ArgumentKind::Ship, 100, QStringLiteral("9/9"));
    v.addId(ArgumentKind::Faction, 4800);
    v.addId(ArgumentKind::Faction, 4711);
    return v;
}

// A Sulvitan game: decimal ids; units 12 and 14 at 0/0, 120 at 5/5.
OrderVocabulary sulvitan()
{
    OrderVocabulary v(OrderLanguage::builtIn(), GameType::Sulvitan, 10);
    v.addId(ArgumentKind::Unit, 12, QStringLiteral("0/0"));
    v.addId(ArgumentKind::Unit, 120, QStringLiteral("5/5"));
    v.addId(ArgumentKind::Unit, 14, QStringLiteral("0/0"));
    v.addId(ArgumentKind::Castle, 300, QStringLiteral("0/0"));
    return v;
}

OrderVocabulary vocabularyOf(const QString &game)
{
    return game == u"Kalmora" ? kalmora() : sulvitan();
}

// Spans as "K:LERNE N:Hiebwaffen": the kind's letter and the text it covers.
QString shown(QStringView line, const QList<HighlightSpan> &spans)
{
    static const QHash<SpanKind, QString> letters {{SpanKind::Keyword, QStringLiteral("K")},
        {SpanKind::UnknownWord, QStringLiteral("U")}, {SpanKind::Id, QStringLiteral("I")},
        {SpanKind::Number, QStringLiteral("#")}, {SpanKind::Name, QStringLiteral("N")},
        {SpanKind::String, QStringLiteral("S")}, {SpanKind::Comment, QStringLiteral("C")}};
    QStringList parts;
    for (const HighlightSpan &s : spans)
        parts.append(letters.value(s.kind) + u':' + line.mid(s.start, s.length).toString());
    return parts.join(u' ');
}

QString problemsText(const QList<OrderProblem> &problems)
{
    QStringList lines;
    for (const OrderProblem &p : problems)
        lines.append(QStringLiteral("%1|%2|%3").arg(p.line).arg(p.unitText, p.text));
    return lines.join(u'\n');
}

// The template of the small Kalmora report, as the import writes it.
const QStringList kTemplate = {
    QStringLiteral(" PARTEI 3mv \"brombeere\""), // 1
    QString(), QStringLiteral(" ; ZORBEK -l -w4 -r60"), QString(),
    QStringLiteral(" REGION 1,2 ; Weidenau"), // 5
    QStringLiteral(" ; Zorbek Lohn 13"), QString(),
    QStringLiteral(" EINHEIT 3mw;\tHolzfäller [12,340$,G6t]"), // 8
    QStringLiteral("    MACHE Holz"),
    QStringLiteral("    FOLGE EINHEIT 3mx"), // 10
    QStringLiteral(" EINHEIT 3mx;\tBäcker [3,90$,S25]"),
    QStringLiteral("    LERNE Segeln"), // 12
    QStringLiteral(" EINHEIT 3my;\tHändler [2,500$]"),
    QStringLiteral("    KAUFE 5 Seide"), // 14
    QString(),
    QStringLiteral(" REGION 3,-4 ; Schattental"), // 16
    QStringLiteral(" ; Zorbek Lohn 11"), QString(),
    QStringLiteral(" EINHEIT 3mz;\tSpäher der Tiefe [1,10$]"), // 19
    QString(),
    QStringLiteral(" NAECHSTER"), // 21
};

} // namespace

class TestOrderLanguage : public QObject
{
    Q_OBJECT
private slots:
    void builtInListReadsWithoutProblems()
    {
        QFile file(QStringLiteral(":/orders/befehlsworte.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        OrderLanguage language;
        QStringList problems;
        language.addText(
            QString::fromUtf8(file.readAll()), QStringLiteral("befehlsworte.txt"), &problems);
        QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
        for (const char *word : {"ARBEITE", "BEWACHE", "BETRETE", "FOLGE", "GIB", "KAUFE",
                 "VERKAUFE", "LERNE", "MACHE", "NACH", "TREIBE", "UNTERHALTE", "ZERSTOERE",
                 "EINHEIT", "REGION", "PARTEI", "NAECHSTER"})
            QVERIFY2(OrderLanguage::builtIn().knows(QString::fromLatin1(word)), word);
    }

    // Every order the reports carry (the fixtures and the generated ones) is known: no
    // first word is marked unknown.
    void builtInKnowsTheOrdersOfTheReports()
    {
        QStringList reports;
        for (const QString &name :
            QDir(fixture(QStringLiteral("reports"))).entryList({QStringLiteral("*.cr")}))
            reports.append(decodeText(readBytes(fixture(QStringLiteral("reports/") + name))));
        for (auto game : {ReportGenerator::Game::Kalmora, ReportGenerator::Game::Sulvitan}) {
            ReportGenerator::Options options;
            options.game = game;
            options.targetBytes = 200000;
            options.shape = ReportGenerator::Shape::DenseUnits;
            reports.append(QString::fromUtf8(ReportGenerator(options).generate()));
        }
        int orders = 0;
        for (const QString &report : std::as_const(reports)) {
            bool inOrders = false;
            for (const QString &line : splitLines(report)) {
                if (!line.startsWith(u'"')) {
                    inOrders = line == u"COMMANDS";
                    continue;
                }
                if (!inOrders)
                    continue;
                const QString order = line.mid(1).chopped(1);
                const QList<HighlightSpan> spans = tolvimar::highlight(order, kalmora());
                QVERIFY2(!spans.isEmpty() && spans.first().kind != SpanKind::UnknownWord,
                    qPrintable(line));
                ++orders;
            }
        }
        QVERIFY(orders > 50);
    }

    void highlight_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("spans");
        const QString k = QStringLiteral("Kalmora");
        const QString s = QStringLiteral("Sulvitan");
        QTest::newRow("skill") << k << "    LERNE Hiebwaffen"
                               << "K:LERNE N:Hiebwaffen";
        QTest::newRow("any case") << k << "    lerne hiebwaffen"
                                  << "K:lerne N:hiebwaffen";
        QTest::newRow("unit, number, own word") << k << "    GIB 3mx 5 Silber"
                                                << "K:GIB I:3mx #:5 K:Silber";
        QTest::newRow("item and comment") << k << "    GIB 3mx 5 Schwert ; an den Schmied"
                                          << "K:GIB I:3mx #:5 N:Schwert C:; an den Schmied";
        QTest::newRow("castle") << k << "    BETRETE BURG 6t"
                                << "K:BETRETE K:BURG I:6t";
        QTest::newRow("ship, decimal look") << k << "    BETRETE SCHIFF 25"
                                            << "K:BETRETE K:SCHIFF I:25";
        QTest::newRow("directions repeat") << k << "    NACH o no w"
                                           << "K:NACH N:o N:no N:w";
        QTest::newRow("unknown first word") << k << "    ZERSTÖRE 3"
                                            << "U:ZERSTÖRE #:3";
        QTest::newRow("semicolon in a string") << k << "    BENENNE EINHEIT \"Der ; Schmied\" ; neu"
                                               << "K:BENENNE K:EINHEIT S:\"Der ; Schmied\" C:; neu";
        QTest::newRow("unit header line") << k << " EINHEIT 3mw;\tHolzfäller [12,340$,G6t]"
                                          << "K:EINHEIT I:3mw C:;\tHolzfäller [12,340$,G6t]";
        QTest::newRow("faction line") << k << " PARTEI 3mv \"brombeere\""
                                      << "K:PARTEI I:3mv S:\"brombeere\"";
        QTest::newRow("region header") << k << " REGION 3,-4 ; Schattental"
                                       << "K:REGION #:3,-4 C:; Schattental";
        QTest::newRow("comment only") << k << " ; Zorbek Lohn 13"
                                      << "C:; Zorbek Lohn 13";
        QTest::newRow("kept comment") << k << "    // Sammler für später"
                                      << "C:// Sammler für später";
        QTest::newRow("after an order") << k << "    ARBEITE //heute"
                                        << "K:ARBEITE C://heute";
        QTest::newRow("empty") << k << ""
                               << "";
        QTest::newRow("new unit") << k << "    GIB TEMP 1 5 Holz"
                                  << "K:GIB K:TEMP I:1 #:5 N:Holz";
        QTest::newRow("form by its number") << k << "    MACHE 5 Schwert"
                                            << "K:MACHE #:5 N:Schwert";
        QTest::newRow("form by its own word") << k << "    MACHE TEMP 2"
                                              << "K:MACHE K:TEMP #:2";
        QTest::newRow("luxury good") << k << "    KAUFE 5 Seide"
                                     << "K:KAUFE #:5 N:Seide";
        QTest::newRow("open string") << k << "    BOTSCHAFT REGION \"Hallo ; du"
                                     << "K:BOTSCHAFT K:REGION S:\"Hallo ; du";
        QTest::newRow("Sulvitan unit") << s << "    GIB 12 5 Holz"
                                       << "K:GIB I:12 #:5 N:Holz";
        // A base-36 text is no Sulvitan id.
        QTest::newRow("Sulvitan, no id") << s << "    GIB 3mx 5 Holz"
                                         << "K:GIB #:5 N:Holz";
        QTest::newRow("Sulvitan castle") << s << "    BETRETE BURG 300"
                                         << "K:BETRETE K:BURG I:300";
    }
    void highlight()
    {
        QFETCH(QString, game);
        QFETCH(QString, line);
        QFETCH(QString, spans);
        QCOMPARE(shown(line, tolvimar::highlight(line, vocabularyOf(game))), spans);
    }

    void candidates_data()
    {
        QTest::addColumn<QString>("game");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("cursor"); // -1: at the end
        QTest::addColumn<QString>("position");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QStringList>("words");
        const QString k = QStringLiteral("Kalmora");
        const QString s = QStringLiteral("Sulvitan");
        const QString here = QStringLiteral("1/2");
        const QString me = QStringLiteral("3mw");
        QTest::newRow("order word") << k << "LER" << -1 << here << me << QStringList {"LERNE"};
        QTest::newRow("lower case") << k << "ler" << -1 << here << me << QStringList {"LERNE"};
        QTest::newRow("indented") << k << "    VER" << -1 << here << me
                                  << QStringList {"VERGESSE", "VERKAUFE", "VERLASSE"};
        QTest::newRow("skill") << k << "LERNE Hie" << -1 << here << me
                               << QStringList {"Hiebwaffen"};
        QTest::newRow("skill, any case")
            << k << "lerne hie" << -1 << here << me << QStringList {"Hiebwaffen"};
        QTest::newRow("units of the region, not the unit itself")
            << k << "GIB " << -1 << here << me << QStringList {"3mx", "3my", "3uw"};
        QTest::newRow("typed: the region's first, then the others")
            << k << "GIB 3m" << -1 << here << me << QStringList {"3mx", "3my", "3mu", "3mz"};
        QTest::newRow("another region") << k << "GIB 3m" << -1 << "3/-4/1"
                                        << "3mz" << QStringList {"3mu", "3mw", "3mx", "3my"};
        QTest::newRow("own words")
            << k << "BETRETE " << -1 << here << me << QStringList {"BURG", "SCHIFF"};
        QTest::newRow("own words typed")
            << k << "BETRETE s" << -1 << here << me << QStringList {"SCHIFF"};
        QTest::newRow("ships of the region")
            << k << "BETRETE SCHIFF " << -1 << here << me << QStringList {"25"};
        QTest::newRow("ships typed")
            << k << "BETRETE SCHIFF 2" << -1 << here << me << QStringList {"25", "2s"};
        QTest::newRow("castle, level 0 written long")
            << k << "BETRETE BURG " << -1 << here << me << QStringList {"6t"};
        QTest::newRow("own words of all forms")
            << k << "GIB 3mx " << -1 << here << me << QStringList {"ALLES", "KOMMANDO", "EINHEIT"};
        QTest::newRow("item and luxury good once")
            << k << "GIB 3mx 5 Sei" << -1 << here << me << QStringList {"Seide"};
        QTest::newRow("directions") << k << "NACH o n" << -1 << here << me
                                    << QStringList {"no", "nw", "Nordosten", "Nordwesten"};
        QTest::newRow("factions") << k << "HELFE " << -1 << here << me
                                  << QStringList {"3mv", "3pc"};
        QTest::newRow("in a comment")
            << k << "LERNE Hiebwaffen ; Ler" << -1 << here << me << QStringList {};
        QTest::newRow("in a string")
            << k << "BENENNE EINHEIT \"Le" << -1 << here << me << QStringList {};
        QTest::newRow("no more arguments")
            << k << "LERNE Hiebwaffen " << -1 << here << me << QStringList {};
        QTest::newRow("unknown order") << k << "ZAUBER " << -1 << here << me << QStringList {};
        QTest::newRow("cursor inside the line")
            << k << "LER Hiebwaffen" << 3 << here << me << QStringList {"LERNE"};
        QTest::newRow("Sulvitan units of the region") << s << "GIB " << -1 << "0/0"
                                                      << "12" << QStringList {"14"};
        QTest::newRow("Sulvitan typed") << s << "GIB 1" << -1 << "0/0"
                                        << "12" << QStringList {"14", "120"};
        QTest::newRow("Sulvitan castle") << s << "BETRETE BURG " << -1 << "0/0"
                                         << "12" << QStringList {"300"};
    }
    void candidates()
    {
        QFETCH(QString, game);
        QFETCH(QString, text);
        QFETCH(int, cursor);
        QFETCH(QString, position);
        QFETCH(QString, unit);
        QFETCH(QStringList, words);
        const Completion c = tolvimar::candidates(
            text, cursor < 0 ? text.size() : cursor, vocabularyOf(game), {position, unit});
        QCOMPARE(c.words, words);
    }

    void completionNamesTheWordItReplaces()
    {
        OrderVocabulary v = kalmora();
        Completion c = tolvimar::candidates(u"    LERNE Hie", 13, v, {});
        QCOMPARE(c.start, 10);
        QCOMPARE(c.prefix, QStringLiteral("Hie"));
        c = tolvimar::candidates(u"    GIB ", 8, v, {});
        QCOMPARE(c.start, 8);
        QCOMPARE(c.prefix, QString());
        // A limit keeps a game of many units from flooding the list.
        for (int unit = 6000; unit < 7000; ++unit)
            v.addId(ArgumentKind::Unit, unit, QStringLiteral("7/7"));
        QCOMPARE(tolvimar::candidates(u"GIB 4", 5, v, {}, 20).words.size(), 20);
    }

    void wordFiles()
    {
        OrderLanguage language = OrderLanguage::builtIn();
        QStringList problems;
        language.addText(QStringLiteral("# eigene Worte\n"
                                        "SEGLE richtung...\n"
                                        "FANGE einheiten\n"
                                        "3X zahl\n"
                                        "farbe: rot\n"
                                        "SPRICH zahl... einheit\n"
                                        "\tWARTE   zahl # Runden\n"
                                        "talent: Schwertkampf Hiebwaffen\n"
                                        "RUFE ALLES||NICHT\n"),
            QStringLiteral("befehlsworte.txt"), &problems);
        QCOMPARE(problems,
            QStringList({"befehlsworte.txt, Zeile 3: unbekannte Art \"einheiten\".",
                "befehlsworte.txt, Zeile 4: \"3X\" ist kein Befehlswort (nur Buchstaben).",
                "befehlsworte.txt, Zeile 5: \"farbe\" ist keine Art mit Werten (richtung, luxus, "
                "talent, gegenstand).",
                "befehlsworte.txt, Zeile 6: \"...\" darf nur hinter der letzten Art stehen.",
                "befehlsworte.txt, Zeile 9: \"ALLES||NICHT\" enthält eine leere Wahl."}));
        QVERIFY(!language.knows(u"FANGE"));
        QVERIFY(!language.knows(u"SPRICH"));
        const OrderVocabulary v = kalmora(language);
        QCOMPARE(shown(u"SEGLE o w no", tolvimar::highlight(u"SEGLE o w no", v)),
            QStringLiteral("K:SEGLE N:o N:w N:no"));
        QCOMPARE(
            shown(u"warte 3", tolvimar::highlight(u"warte 3", v)), QStringLiteral("K:warte #:3"));
        // Values add to the units table's skills, each once.
        QCOMPARE(
            tolvimar::candidates(u"LERNE Schw", 10, v, {}).words, QStringList({"Schwertkampf"}));
        QCOMPARE(v.names(ArgumentKind::Skill).count(QStringLiteral("Hiebwaffen")), 1);
    }

    void gameFolderWords()
    {
        QTemporaryDir dir;
        writeBytes(orderWordsFile(dir.path()), "FISCHE zahl\nKAUFE zahl gegenstand\n");
        // A player's file in Windows-1252 with an umlaut.
        writeBytes(learntOrderWordsFile(dir.path()), "# gelernt\nSCH\xc4TZE\n");
        QStringList problems;
        const OrderLanguage language = OrderLanguage::forGame(dir.path(), &problems);
        QVERIFY(problems.isEmpty());
        QVERIFY(language.knows(u"fische"));
        QVERIFY(language.knows(u"SCHÄTZE"));
        // A further form of a known word; the built-in ones stay.
        QCOMPARE(language.word(u"KAUFE")->forms.size(), 2);
        QCOMPARE(
            shown(u"KAUFE 3 Schwert", tolvimar::highlight(u"KAUFE 3 Schwert", kalmora(language))),
            QStringLiteral("K:KAUFE #:3 N:Schwert"));
    }

    void unknownWordsOfTheTemplate()
    {
        const QStringList lines = {
            QStringLiteral(" REGION 1,2 ; Weidenau"), QStringLiteral(" ; Zorbek Lohn 13"),
            QStringLiteral(" EINHEIT 3mw;\tA [1,1$]"), QStringLiteral("    FISCHE 5"),
            QStringLiteral("    fische"), QStringLiteral("    LERNE Segeln"),
            QStringLiteral("    ; SAMMLE Holz"), QStringLiteral("    ZAUBERE \"Blitz\""),
            QStringLiteral(" EINHEIT 3mx;\tB [1,1$]"), QStringLiteral("    3mx"),
            QStringLiteral("    @BEWACHE"), QStringLiteral("    Jage\tHasen"), QString(),
            QStringLiteral("    SAMMLE"), // after an empty line: no unit's order
        };
        QCOMPARE(
            unknownOrderWords(lines, OrderLanguage::builtIn()), QStringList({"FISCHE", "JAGE"}));
        QCOMPARE(learntWordsFileBytes("# alt\nFISCHE", {QStringLiteral("JAGE")}),
            QByteArray("# alt\nFISCHE\nJAGE\n"));
    }

    // The import learns the words of the orders; taking it back forgets them.
    void importLearnsNewWords()
    {
        ImportHarness h;
        QStringList report = reportHeader();
        report << QStringLiteral("REGION 1 1") << QStringLiteral("\"Mark\";Name")
               << QStringLiteral("EINHEIT 7") << QStringLiteral("\"Fischer\";Name")
               << QStringLiteral("4711;Partei") << QStringLiteral("COMMANDS")
               << QStringLiteral("\"FISCHE 5\"") << QStringLiteral("\"ARBEITE\"");
        QCOMPARE(h.import(report).status, ReportImporter::Result::Imported);
        const QString learnt = learntOrderWordsFile(h.session->game().programPath);
        QVERIFY(readBytes(learnt).endsWith("\nFISCHE\n"));
        QVERIFY(h.session->orderVocabulary()->language().knows(u"FISCHE"));
        const Completion c = tolvimar::candidates(u"FIS", 3, *h.session->orderVocabulary(), {});
        QCOMPARE(c.words, QStringList {"FISCHE"});

        // Known now: the next import leaves the file as it is.
        const QByteArray before = readBytes(learnt);
        report[report.indexOf(QStringLiteral("40;Runde"))] = QStringLiteral("41;Runde");
        QCOMPARE(h.import(report).status, ReportImporter::Result::Imported);
        QCOMPARE(readBytes(learnt), before);

        ImportUndo undo(*h.session);
        QCOMPARE(undo.undoLastImport().status, ImportUndo::Result::Undone);
        QVERIFY(QFileInfo::exists(learnt));
        QCOMPARE(undo.undoLastImport().status, ImportUndo::Result::Undone);
        QVERIFY(!QFileInfo::exists(learnt));
        QVERIFY(!h.session->orderVocabulary()->language().knows(u"FISCHE"));
    }

    void vocabularyFromTheGame()
    {
        ImportHarness h;
        QCOMPARE(h.importFile(fixture(QStringLiteral("reports/kalmora-klein.cr"))).status,
            ReportImporter::Result::Imported);
        const std::shared_ptr<const OrderVocabulary> v = h.session->orderVocabulary();
        QVERIFY(v->knowsId(ArgumentKind::Unit, u"3MW"));
        QVERIFY(v->knowsId(ArgumentKind::Unit, u"3uw")); // a foreign unit
        QVERIFY(v->knowsId(ArgumentKind::Castle, u"6t"));
        QVERIFY(v->knowsId(ArgumentKind::Ship, u"25"));
        QVERIFY(!v->knowsId(ArgumentKind::Ship, u"6t"));
        QVERIFY(v->knowsId(ArgumentKind::Faction, u"3mv"));
        QCOMPARE(v->positionOfUnit(u"3mz"), QStringLiteral("3/-4/1"));
        QCOMPARE(v->placeOfUnit(u"3MZ"), std::optional<Position>(Position {3, -4, 1}));
        QVERIFY(!v->placeOfUnit(u"zzzz"));
        QCOMPARE(v->ids(ArgumentKind::Unit, QStringLiteral("1/2"), {}, -1, false),
            QStringList({"3mw", "3mx", "3my", "3uw"}));
        // Kept until the game changes.
        QCOMPARE(h.session->orderVocabulary(), v);
        h.session->setGame(h.session->game());
        QVERIFY(h.session->orderVocabulary() != v);
    }

    void namedOrderLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("named"); // 0: none
        QTest::newRow("file:N:") << "Zug-Spiel1-4-April.txt:12: Fehler" << 12;
        QTest::newRow("path and column") << "/home/a/Zug.txt:7:3: Warnung" << 7;
        QTest::newRow("drive letter") << "C:\\Spiel\\Zug.txt:5: unbekannt" << 5;
        QTest::newRow("Zeile N") << "Fehler in Zeile 9: unbekannter Befehl" << 9;
        QTest::newRow("line N") << "line 14: unknown order" << 14;
        QTest::newRow("any case") << "LINE 3" << 3;
        QTest::newRow("colon after the word") << "Zeile: 5" << 0;
        QTest::newRow("inside a word") << "Deadline 12" << 0;
        QTest::newRow("plural") << "Zeilen 3 bis 5" << 0;
        QTest::newRow("counted") << "Warnung: 3 Einheiten ohne Befehle" << 0;
        QTest::newRow("line 0") << "Zeile 0" << 0;
        QTest::newRow("a time") << "Zeit 12:30:00 Start" << 0;
        QTest::newRow("plain") << "Fertig." << 0;
    }
    void namedOrderLine()
    {
        QFETCH(QString, line);
        QFETCH(int, named);
        QCOMPARE(tolvimar::namedOrderLine(line).value_or(0), named);
    }

    void checkerLinesOnTheirUnits()
    {
        // Lines that name no line of the file, or one outside it, are listed on line 0.
        const QString output = QStringLiteral("Prüfe Zug-Spiel1-4-April.txt\r\n"
                                              "Password missing!\r\n"
                                              "Zug-Spiel1-4-April.txt:10: FOLGE: Einheit fehlt\r\n"
                                              "Warnung in Zeile 8: kein Silber\r\n"
                                              "\r\n"
                                              "line 14: zu teuer\n"
                                              "Zeile 5: Region\n"
                                              "Zeile 21: letzte Zeile\n"
                                              "Zeile 22: hinter dem Ende\n"
                                              "Zeile 0: vor dem Anfang\n"
                                              "Zug-Spiel1-4-April.txt:-3: negativ\n"
                                              "Zeile 99999999999: zu groß\n"
                                              "Zeile 15: leere Zeile\n"
                                              "   \n"
                                              "2 Fehler");
        const QList<OrderProblem> problems = checkerProblems(output, ListTemplateLines(kTemplate));
        QCOMPARE(problemsText(problems),
            QStringLiteral("0||Prüfe Zug-Spiel1-4-April.txt\n"
                           "0||Password missing!\n"
                           "10|3mw|Zug-Spiel1-4-April.txt:10: FOLGE: Einheit fehlt\n"
                           "8|3mw|Warnung in Zeile 8: kein Silber\n"
                           "14|3my|line 14: zu teuer\n"
                           "5||Zeile 5: Region\n"
                           "21||Zeile 21: letzte Zeile\n"
                           "0||Zeile 22: hinter dem Ende\n"
                           "0||Zeile 0: vor dem Anfang\n"
                           "0||Zug-Spiel1-4-April.txt:-3: negativ\n"
                           "0||Zeile 99999999999: zu groß\n"
                           "15||Zeile 15: leere Zeile\n"
                           "0||2 Fehler"));
        QCOMPARE(currentLineOf(problems[1], ListTemplateLines(kTemplate)), -1);
        QCOMPARE(problems[1].unitHeader, -1);
        QCOMPARE(problems[2].unitHeader, 7);
        QCOMPARE(problems[2].source, OrderProblem::Source::Checker);
        QCOMPARE(unitsWithProblems(problems, GameType::Kalmora, 36),
            QSet<qint64>({strToId(u"3mw", 36), strToId(u"3my", 36)}));
    }

    void hints()
    {
        QStringList lines = kTemplate;
        lines[8] = QStringLiteral("    MACHE TEMP 1"); // a new unit's number: no hint
        lines[9] = QStringLiteral("    GIB 4zz 5 Holz ; GIB 5zz");
        lines.insert(11, QStringLiteral("    ; nur eine Bemerkung")); // 3mx: only a comment
        lines[12] = QStringLiteral("    // LERNE Segeln");
        lines.insert(14, QStringLiteral("    BETRETE BURG 7t"));
        lines.insert(15, QStringLiteral("    BETRETE SCHIFF 26"));
        lines.insert(16, QStringLiteral("    ZERSTÖRE"));
        lines.insert(17, QStringLiteral("    GIB TEMP 4 5 Holz"));
        lines.insert(18, QStringLiteral("    FOLGE EINHEIT 3mz"));
        lines.insert(21, QStringLiteral("    SAMMLE")); // after the empty line: on no unit
        const QList<OrderProblem> hints = orderHints(ListTemplateLines(lines), kalmora());
        QCOMPARE(problemsText(hints),
            QStringLiteral("10|3mw|Hinweis: \"4zz\" ist keine bekannte Einheit.\n"
                           "11|3mx|Hinweis: Einheit 3mx hat keine Befehle.\n"
                           "15|3my|Hinweis: \"7t\" ist keine bekannte Burg.\n"
                           "16|3my|Hinweis: \"26\" ist kein bekanntes Schiff.\n"
                           "17|3my|Hinweis: unbekannter Befehl \"ZERSTÖRE\".\n"
                           "22||Hinweis: unbekannter Befehl \"SAMMLE\".\n"
                           "26|3mz|Hinweis: Einheit 3mz hat keine Befehle."));
        for (const OrderProblem &p : hints)
            QCOMPARE(p.source, OrderProblem::Source::Hint);
    }

    void movesBetweenUnits_data()
    {
        QTest::addColumn<int>("from"); // 0-based line
        QTest::addColumn<bool>("forward");
        QTest::addColumn<bool>("withoutOrders");
        QTest::addColumn<int>("to"); // header line; -1: none
        // Units: 3mw (orders, line 7), 3mx (problem, 10), 3my (orders, 12),
        // 3mz (no orders, 18).
        QTest::newRow("from 3mw on") << 8 << true << true << 10;
        QTest::newRow("from 3mx on") << 10 << true << true << 18;
        QTest::newRow("wraps to the start") << 18 << true << true << 10;
        QTest::newRow("back from 3my") << 13 << false << true << 10;
        QTest::newRow("back wraps to the end") << 8 << false << true << 18;
        QTest::newRow("from the head") << 0 << true << true << 10;
        QTest::newRow("from between regions") << 15 << true << true << 18;
        QTest::newRow("problems only") << 11 << true << false << 10;
    }
    void numbersReadFromText_data()
    {
        QTest::addColumn<int>("gameType");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("number"); // -1: no number
        const int kalmora = int(GameType::Kalmora);
        const int sulvitan = int(GameType::Sulvitan);
        QTest::newRow("identifier") << kalmora << "3mw" << qint64(4712);
        QTest::newRow("identifier, any case") << kalmora << "3MW" << qint64(4712);
        QTest::newRow("decimal") << sulvitan << "4712" << qint64(4712);
        QTest::newRow("letters in decimal") << sulvitan << "3mw" << qint64(-1);
        QTest::newRow("empty") << kalmora << "" << qint64(-1);
        QTest::newRow("sign") << kalmora << "-3mw" << qint64(-1);
        QTest::newRow("not a digit") << kalmora << "3m_" << qint64(-1);
        QTest::newRow("blank") << kalmora << " 3mw" << qint64(-1);
        QTest::newRow("too long") << kalmora << "zzzzzzzzzzzzzzzzzzzz" << qint64(-1);
    }
    void numbersReadFromText()
    {
        QFETCH(int, gameType);
        QFETCH(QString, text);
        QFETCH(qint64, number);
        const std::optional<qint64> read = numberOfText(text, GameType(gameType), 36);
        QCOMPARE(read.value_or(-1), number);
        // What is read is written back alike.
        if (read)
            QCOMPARE(numberText(*read, GameType(gameType), 36).toLower(), text.toLower());
    }

    void movesBetweenUnits()
    {
        QFETCH(int, from);
        QFETCH(bool, forward);
        QFETCH(bool, withoutOrders);
        QFETCH(int, to);
        ReviewTargets targets;
        targets.unitsWithProblems = {strToId(u"3mx", 36)};
        targets.withoutOrders = withoutOrders;
        QCOMPARE(
            nextUnitToReview(ListTemplateLines(kTemplate), from, forward, targets).value_or(-1),
            to);
        // The editor's document answers alike.
        QTextDocument document(kTemplate.join(u'\n'));
        QCOMPARE(
            nextUnitToReview(DocumentTemplateLines(document), from, forward, targets).value_or(-1),
            to);
    }

    void noUnitToMoveTo()
    {
        ReviewTargets targets;
        targets.withoutOrders = false;
        QVERIFY(!nextUnitToReview(ListTemplateLines(kTemplate), 8, true, targets));
        QVERIFY(!nextUnitToReview(ListTemplateLines({}), 0, true, targets));
    }

    // A problem keeps its place in its unit's block while the template changes.
    void problemLineAfterEdits()
    {
        const QList<OrderProblem> problems = checkerProblems(
            QStringLiteral("Zeile 14: zu teuer\nZeile 5: Region"), ListTemplateLines(kTemplate));
        QStringList lines = kTemplate;
        QCOMPARE(currentLineOf(problems[0], ListTemplateLines(lines)), 13);
        lines.insert(9, QStringLiteral("    LERNE Holzfällen"));
        lines.insert(9, QStringLiteral("    ARBEITE"));
        QCOMPARE(currentLineOf(problems[0], ListTemplateLines(lines)), 15);
        lines.removeAt(15); // the order itself: the block's last line
        QCOMPARE(currentLineOf(problems[0], ListTemplateLines(lines)), 14);
        lines.removeAt(14);
        lines.removeAt(14); // the unit is gone
        QCOMPARE(currentLineOf(problems[0], ListTemplateLines(lines)), 13);
        QCOMPARE(currentLineOf(problems[1], ListTemplateLines(lines)), 4);
    }
};

QTEST_MAIN(TestOrderLanguage)
#include "test_orderlanguage.moc"
