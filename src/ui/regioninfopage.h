#pragma once

#include "base/position.h"

#include <QList>
#include <QVariant>
#include <QWidget>
#include <optional>

class QLineEdit;
class QListView;
class QPlainTextEdit;
class QStringListModel;

namespace tolvimar {

struct RegionField;
struct RegionView;

// "Region Info": the selected region's fields, its surroundings, its guards and the
// goods of the player's own units there ("Parteieigentum"). The fields show the
// region row until the next selection; the editable ones report each change.
class RegionInfoPage : public QWidget
{
    Q_OBJECT
public:
    explicit RegionInfoPage(QWidget *parent = nullptr);

    // Fills the page from a selection; a region without a row blanks the fields.
    // Changes still pending in an editable field are reported first, for the region
    // they were made in.
    void showRegion(const RegionView &view);
    // The region whose row the fields show; none when the selection found no row.
    std::optional<Position> shownRegion() const { return m_shown; }
    // Reports the editable fields changed since they were last reported.
    void commitEdits();

signals:
    // The player changed `field` of the shown region's row (null: emptied).
    void regionFieldEdited(const QString &field, const QVariant &value);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Field
    {
        const RegionField *field;
        QLineEdit *edit;
    };
    // The control of a column of the region row, at most width pixels wide (0: any).
    QLineEdit *addField(const QString &column, int width);
    QWidget *buildRegionBox();
    QWidget *buildTradeBox();
    QWidget *buildRoadBox();
    QWidget *buildPropertyBox();
    void commitField(const Field &field);
    void commitDescription();
    void setEditable(bool editable);

    QList<Field> m_fields;
    QPlainTextEdit *m_description; // "Region Beschreibung"
    QPlainTextEdit *m_surroundings; // "Region Umgebung"
    QPlainTextEdit *m_guards; // "Die Region wird bewacht von :"
    QLineEdit *m_property[7] = {}; // Edit1, Edit9, Edit14, Edit15, Edit16, Edit24, Edit25
    QListView *m_goodsList; // "Gegenstände"
    QStringListModel *m_goods;
    std::optional<Position> m_shown;
};

} // namespace tolvimar
