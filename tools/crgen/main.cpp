#include "base/errors.h"
#include "reportgenerator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>

using namespace tolvimar;

// tolvimar-crgen [--game Kalmora|Sulvitan] [--size 30M] [--seed N] [--turn N] [--crlf]
//                [--shape standard|dense|map] [--foreign] FILE
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tolvimar-crgen"));
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes a large valid report for benchmarks and tests."));
    parser.addHelpOption();
    const QCommandLineOption game(QStringLiteral("game"), QStringLiteral("Kalmora or Sulvitan"),
        QStringLiteral("GAME"), QStringLiteral("Kalmora"));
    const QCommandLineOption size(QStringLiteral("size"),
        QStringLiteral("approximate size, e.g. 30M"), QStringLiteral("SIZE"), QStringLiteral("1M"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("random seed"),
        QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption turn(QStringLiteral("turn"), QStringLiteral("turn number"),
        QStringLiteral("N"), QStringLiteral("40"));
    const QCommandLineOption crlf(QStringLiteral("crlf"), QStringLiteral("end lines with CR LF"));
    const QCommandLineOption shape(QStringLiteral("shape"),
        QStringLiteral("standard, dense (many own units) or map (many regions)"),
        QStringLiteral("SHAPE"), QStringLiteral("standard"));
    const QCommandLineOption foreign(QStringLiteral("foreign"),
        QStringLiteral("add blocks and keys the import does not read at random block "
                       "boundaries"));
    parser.addOptions({game, size, seed, turn, crlf, shape, foreign});
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("the report to write"));
    parser.process(app);

    QTextStream err(stderr);
    ReportGenerator::Options options;
    const QString gameText = parser.value(game);
    bool seedOk = false, turnOk = false;
    options.seed = parser.value(seed).toULongLong(&seedOk);
    options.turn = parser.value(turn).toInt(&turnOk);
    options.targetBytes = ReportGenerator::parseSize(parser.value(size));
    const bool shapeOk = ReportGenerator::parseShape(parser.value(shape), &options.shape);
    if ((gameText != u"Kalmora" && gameText != u"Sulvitan") || !seedOk || !turnOk || !shapeOk
        || options.targetBytes < 0 || parser.positionalArguments().size() != 1) {
        err << parser.helpText();
        return 2;
    }
    options.game
        = gameText == u"Kalmora" ? ReportGenerator::Game::Kalmora : ReportGenerator::Game::Sulvitan;
    options.crlf = parser.isSet(crlf);
    options.foreign = parser.isSet(foreign);
    try {
        const auto stats = ReportGenerator(options).writeFile(parser.positionalArguments().first());
        QTextStream(stdout) << stats.bytes << " bytes, " << stats.lines << " lines, "
                            << stats.regions << " regions, " << stats.units << " units\n";
    } catch (const UserError &e) {
        err << e.message() << "\n";
        return 2;
    }
    return 0;
}
