#pragma once

#include <QStringList>
#include <QTabWidget>

class QLineEdit;
class QTableWidget;

namespace tolvimar {

class PointsPage;
class RegionInfoPage;
class UnitsPage;

// The pages right of the maps ("PageControl2"): the selected region, its units, its
// history, the points statistics and the military pages.
class DetailPages : public QTabWidget
{
    Q_OBJECT
public:
    explicit DetailPages(QWidget *parent = nullptr);

    RegionInfoPage *regionInfo() const { return m_regionInfo; }
    UnitsPage *units() const { return m_units; }
    QTableWidget *stringGrid1() const { return m_stringGrid1; }
    PointsPage *points() const { return m_points; }

    // The history of a region in "Regions Stati": the heading row, then one row per
    // turn; the last row is selected.
    void showHistory(const QList<QStringList> &grid);

    // The newest turn in the "Info Datum" fields of "Gruppierungen" and "Schiffsregister".
    void showInfoDatum(qint64 turn);

private:
    RegionInfoPage *m_regionInfo;
    UnitsPage *m_units;
    QTableWidget *m_stringGrid1; // "Regions Stati"
    PointsPage *m_points;
    QLineEdit *m_infoDatumGruppen;
    QLineEdit *m_infoDatumSchiffe;
};

} // namespace tolvimar
