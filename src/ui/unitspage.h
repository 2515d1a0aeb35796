#pragma once

#include <QSet>
#include <QWidget>
#include <functional>

class QCheckBox;
class QHBoxLayout;
class QListView;

namespace tolvimar {

class MarkedLinesModel;

// "Einheiten": the castles, ships and units of the selected region in `ListBox3`,
// under the two check boxes that steer what the list holds; the unit view takes the
// right half.
class UnitsPage : public QWidget
{
    Q_OBJECT
public:
    explicit UnitsPage(QWidget *parent = nullptr);

    QListView *listBox3() const { return m_listBox3; }
    QCheckBox *checkBox1() const { return m_checkBox1; } // "Alle"
    QCheckBox *checkBox2() const { return m_checkBox2; } // "Nur aktuelle Info"

    void setLines(const QStringList &lines);
    QStringList lines() const;
    // The text of the selected entry; empty when none is selected.
    QString currentLine() const;

    // Units with problems in their orders carry a mark (a red dot and a tip) in the
    // list: unitTextOf gives a line's unit number text (empty for other lines).
    static constexpr int ProblemRole = Qt::UserRole + 1;
    void setProblemUnits(
        const QSet<QString> &lowerUnitTexts, std::function<QString(const QString &)> unitTextOf);
    // Selects the row of the unit with this number text; false when the list lacks it.
    bool selectUnit(const QString &unitText);

    // Places the unit view right of the list.
    void setUnitView(QWidget *view);

private:
    QCheckBox *m_checkBox1;
    QCheckBox *m_checkBox2;
    QListView *m_listBox3;
    MarkedLinesModel *m_model;
    QHBoxLayout *m_layout;
};

} // namespace tolvimar
