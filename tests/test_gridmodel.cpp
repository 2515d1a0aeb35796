#include "gridmodel.h"
#include "reportgrid.h"

#include <QHeaderView>
#include <QtTest>

using namespace tolvimar;

namespace {

// The texts of one column as the view shows them.
QStringList shownColumn(const QAbstractItemModel &model, int column)
{
    QStringList texts;
    for (int r = 0; r < model.rowCount(); ++r)
        texts.append(model.index(r, column).data().toString());
    return texts;
}

QList<QStringList> oneColumn(const QStringList &texts)
{
    QList<QStringList> rows;
    for (const QString &t : texts)
        rows.append({t, QString::number(rows.size())});
    return rows;
}

} // namespace

class TestGridModel : public QObject
{
    Q_OBJECT
private slots:
    void sortsNumbersByValueAndTextsInGermanOrder_data()
    {
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QStringList>("ascending");
        QTest::newRow("numbers by value")
            << QStringList {"100", "9", "-3", "10"} << QStringList {"-3", "9", "10", "100"};
        QTest::newRow("umlauts by their letter") << QStringList {"Zeder", "Öl", "Bär", "Ähre",
            "Oase"} << QStringList {"Ähre", "Bär", "Oase", "Öl", "Zeder"};
        QTest::newRow("letter case aside, equal texts keep their order") << QStringList {"b",
            "Apfel", "apfel", "APFEL", "C"} << QStringList {"Apfel", "apfel", "APFEL", "b", "C"};
        // Collation puts punctuation before digits.
        QTest::newRow("talent texts beside numbers") << QStringList {"[10] 2", "0 [0]", "12", "3"}
                                                     << QStringList {"[10] 2", "0 [0]", "3", "12"};
        QTest::newRow("empty cells first")
            << QStringList {"Boot", "", "Aal", ""} << QStringList {"", "", "Aal", "Boot"};
    }
    void sortsNumbersByValueAndTextsInGermanOrder()
    {
        QFETCH(QStringList, cells);
        QFETCH(QStringList, ascending);
        GridModel model;
        model.setRows({"Text", "Platz"}, oneColumn(cells));
        GridSortProxy proxy;
        proxy.setSourceModel(&model);
        proxy.sort(0, Qt::AscendingOrder);
        QCOMPARE(shownColumn(proxy, 0), ascending);
        proxy.sort(0, Qt::DescendingOrder);
        QStringList descending = shownColumn(proxy, 0);
        std::reverse(descending.begin(), descending.end());
        // Descending reverses the order of unequal texts; equal ones keep theirs.
        for (int i = 0; i < ascending.size(); ++i)
            QVERIFY(QString::compare(descending[i], ascending[i], Qt::CaseInsensitive) == 0);
        proxy.sort(-1);
        QCOMPARE(shownColumn(proxy, 0), cells);
    }

    void theGridKeepsKeysWithTheirRowsThroughSortAndEdit()
    {
        ReportGrid grid(QStringLiteral("Raster"), {"Name", "Zahl"}, nullptr);
        // Without rows: the headings over one empty row that holds no record.
        QCOMPARE(grid.rowCount(), 1);
        QCOMPARE(grid.rowTexts(0), QStringList(2, QString()));
        QVERIFY(!grid.rowKey(0).isValid());

        grid.showRows({{"Name", "Zahl"}, {"Cäsar", "7"}, {"anton", "30"}, {"Berta", "4"}},
            {QVariant(70), QVariant(300), QVariant(40)});
        emit grid.horizontalHeader()->sectionClicked(1);
        QCOMPARE(shownColumn(*grid.model(), 1), (QStringList {"4", "7", "30"}));
        QCOMPARE(grid.rowKey(0), QVariant(40));
        emit grid.horizontalHeader()->sectionClicked(1);
        QCOMPARE(shownColumn(*grid.model(), 1), (QStringList {"30", "7", "4"}));
        QCOMPARE(grid.horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
        emit grid.horizontalHeader()->sectionClicked(0);
        QCOMPARE(shownColumn(*grid.model(), 0), (QStringList {"anton", "Berta", "Cäsar"}));

        // A cell set on a shown row lands on that row's record and stays there.
        grid.setCellText(2, 1, QStringLiteral("8"));
        QCOMPARE(grid.rowTexts(2), (QStringList {"Cäsar", "8"}));
        QCOMPARE(grid.rowKey(2), QVariant(70));

        QSignalSpy activated(&grid, &ReportGrid::rowActivated);
        emit grid.doubleClicked(grid.model()->index(1, 0));
        QCOMPARE(activated.size(), 1);
        QCOMPARE(activated.first().first(), QVariant(40));

        // A new report comes in its own order, without a sort indicator.
        grid.showRows({{"Name", "Zahl"}, {"Zora", "1"}, {"Anna", "2"}});
        QCOMPARE(shownColumn(*grid.model(), 0), (QStringList {"Zora", "Anna"}));
        QVERIFY(!grid.horizontalHeader()->isSortIndicatorShown());
        emit grid.doubleClicked(grid.model()->index(0, 0));
        QCOMPARE(activated.size(), 1);
    }
};

QTEST_MAIN(TestGridModel)
#include "test_gridmodel.moc"
