// The includes of src/ against the layers that docs/architecture.md names: a folder
// may use its own files and those of the folders left of it, never a folder beside or
// right of it.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

using namespace Qt::StringLiterals;

const QString kSource = QStringLiteral(TOLVIMAR_SOURCE_DIR);

// The layer of each folder, from the line "base → db → ... → ui, cli" of the
// architecture notes; empty when the notes have no such line.
QHash<QString, int> layersFromNotes(const QString &notes)
{
    static const QRegularExpression line(
        u"^\\s+(\\w+(?:,\\s*\\w+)*(?:\\s*→\\s*\\w+(?:,\\s*\\w+)*)+)\\s*$"_s,
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = line.match(notes);
    QHash<QString, int> layers;
    if (!match.hasMatch())
        return layers;
    const QStringList groups = match.captured(1).split(u'→');
    for (int rank = 0; rank < groups.size(); ++rank) {
        for (const QString &folder : groups[rank].split(u','))
            layers.insert(folder.trimmed(), rank);
    }
    return layers;
}

// The folder a file of src/ belongs to: "ui", "cli" or the core folder.
QString folderOf(const QString &relativePath)
{
    const QStringList parts = relativePath.split(u'/');
    if (parts.size() >= 3 && parts[0] == u"core")
        return parts[1];
    return parts[0];
}

// The folder an include names, seen from a file of `folder`: "../map/x.h" and
// "map/x.h" name map, a plain "x.h" the file's own folder.
QString includedFolder(const QString &include, const QString &folder)
{
    QString path = include;
    if (path.startsWith(u"../"))
        path = path.mid(3);
    const qsizetype slash = path.indexOf(u'/');
    return slash < 0 ? folder : path.left(slash);
}

// "file: includes x (folder a may not use folder b)" for each include that runs against
// the layers.
QStringList violations(const QHash<QString, int> &layers, const QString &file,
    const QString &folder, const QStringList &includes)
{
    QStringList found;
    for (const QString &include : includes) {
        const QString target = includedFolder(include, folder);
        if (target == folder)
            continue;
        if (!layers.contains(folder) || !layers.contains(target)) {
            found.append(u"%1: includes %2 (add the folder %3 to the layers in "
                         "docs/architecture.md)"_s.arg(
                             file, include, layers.contains(folder) ? target : folder));
        } else if (layers.value(target) >= layers.value(folder)) {
            found.append(
                u"%1: includes %2 (%3 may not use %4)"_s.arg(file, include, folder, target));
        }
    }
    return found;
}

QStringList quotedIncludes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    static const QRegularExpression include(
        u"^\\s*#\\s*include\\s+\"([^\"]+)\""_s, QRegularExpression::MultilineOption);
    QStringList includes;
    QRegularExpressionMatchIterator it = include.globalMatch(QString::fromUtf8(file.readAll()));
    while (it.hasNext())
        includes.append(it.next().captured(1));
    return includes;
}

} // namespace

class TestLayers : public QObject
{
    Q_OBJECT
private slots:
    void theRuleCatchesIncludesAgainstTheLayers_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("include");
        QTest::addColumn<bool>("allowed");
        QTest::newRow("own folder") << "map"
                                    << "hexgeometry.h" << true;
        QTest::newRow("a folder left of it") << "map"
                                             << "../db/gamequeries.h" << true;
        QTest::newRow("two layers down") << "app"
                                         << "../base/errors.h" << true;
        QTest::newRow("the window uses core") << "ui"
                                              << "app/session.h" << true;
        QTest::newRow("a folder beside it") << "map"
                                            << "../military/groupings.h" << false;
        QTest::newRow("a folder right of it") << "db"
                                              << "../app/session.h" << false;
        QTest::newRow("the tool beside the window") << "cli"
                                                    << "ui/mainwindow.h" << false;
        QTest::newRow("a folder the notes do not name") << "map"
                                                        << "../share/x.h" << false;
    }
    void theRuleCatchesIncludesAgainstTheLayers()
    {
        QFETCH(QString, folder);
        QFETCH(QString, include);
        QFETCH(bool, allowed);
        const QHash<QString, int> layers
            = layersFromNotes(u"Layers:\n\n    base → db → map, military → app → ui, cli\n\n"_s);
        QCOMPARE(layers.value(u"military"_s), 2);
        QCOMPARE(violations(layers, u"f.cpp"_s, folder, {include}).isEmpty(), allowed);
    }

    void theIncludesOfTheSourcesFollowTheNotes()
    {
        QFile notes(kSource + u"/docs/architecture.md"_s);
        QVERIFY(notes.open(QIODevice::ReadOnly));
        const QHash<QString, int> layers = layersFromNotes(QString::fromUtf8(notes.readAll()));
        QVERIFY2(layers.contains(u"base"_s) && layers.contains(u"ui"_s),
            "docs/architecture.md names no layers");
        QStringList found;
        int files = 0;
        const QString src = kSource + u"/src/"_s;
        QDirIterator it(src, {u"*.h"_s, u"*.cpp"_s}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QString relative = path.mid(src.size());
            found += violations(layers, relative, folderOf(relative), quotedIncludes(path));
            ++files;
        }
        QVERIFY2(files > 0, "no sources under src/");
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }
};

QTEST_MAIN(TestLayers)
#include "test_layers.moc"
