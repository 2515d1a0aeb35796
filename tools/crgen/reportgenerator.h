#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

namespace tolvimar {

// Writes large, valid computer reports for benchmarks, fuzzing seeds and tests: a
// faction header, plain sections, messages, alliances and addresses, then regions
// with prices, borders and surroundings, their buildings and ships, and the units
// after them. The same options give the same bytes.
class ReportGenerator
{
public:
    enum class Game { Kalmora, Sulvitan };
    // Standard: a mixed map; DenseUnits: 8 own units in every land region, each with
    // 6 skills, 10 items and 3 orders; MapHeavy: 100,000 regions for every 30 MB of
    // target size (which it does not keep to), with few units and long descriptions.
    enum class Shape { Standard, DenseUnits, MapHeavy };

    struct Options
    {
        Game game = Game::Kalmora;
        qint64 targetBytes = 1 << 20; // the report stops at the first region past this
        quint64 seed = 1;
        int turn = 40;
        int faction = 4711;
        int version = 42;
        bool crlf = false; // line ends CR LF instead of LF
        Shape shape = Shape::Standard;
        // Blocks and keys the import does not read, put at random block boundaries; and
        // what servers write otherwise but the import reads alike: a region's sub-blocks
        // and price lines in another order, goods spelled with umlauts, a word where a
        // message's amount stands. Everything else stays byte for byte as without them.
        bool foreign = false;
    };

    // What a report holds, to compare with the tables after an import.
    struct Stats
    {
        qint64 bytes = 0;
        qint64 lines = 0;
        int regions = 0; // rows of the regions table
        int landRegions = 0; // rows of the statistics table
        int levels = 0; // rows of the levels table (levels other than 0)
        int buildings = 0;
        int ships = 0;
        int units = 0;
        int ownUnits = 0;
        int factions = 0; // rows of the factions table: own and addresses
        int messages = 0;
        int orders = 0;
    };

    explicit ReportGenerator(const Options &options);

    // Writes the whole report; throws UserError naming the file when it fails.
    Stats write(QIODevice &device);
    Stats writeFile(const QString &path);
    QByteArray generate(Stats *stats = nullptr);

    // Parses "30M", "512k", "1000" (bytes); returns -1 when it is no size.
    static qint64 parseSize(const QString &text);
    // "standard", "dense" or "map"; false for anything else.
    static bool parseShape(const QString &text, Shape *shape);
    static QString shapeName(Shape shape);

private:
    Options m_options;
};

} // namespace tolvimar
