#pragma once

#include "orders/unitrecord.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace tolvimar {

// The right half of the page "Einheiten": what is known about the selected unit, and
// the description of the selected castle or ship. The bound boxes can be edited; an
// edit is reported once the box is left (or before the next selection).
class UnitViewPanel : public QWidget
{
    Q_OBJECT
public:
    explicit UnitViewPanel(QWidget *parent = nullptr);

    // A unit: every box, the description box unless told otherwise.
    void showUnit(const UnitViewTexts &unit, bool withDescription = true);
    // A castle or ship: only the description box changes.
    void showDescription(const QString &text);
    // The number text of the unit the order editor holds (hidden `Edit21`).
    void setEditedUnitText(const QString &text);
    QString editedUnitText() const;

    // Reports the edits not yet reported.
    void commitEdits();

public slots:
    // Empties the item and talent boxes (when another region is shown).
    void clearBoxes();
    // Empties every box and disables the editable ones: no unit is selected.
    void clearUnit();

signals:
    void boxEdited(tolvimar::UnitBox box, const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *boundEdit(const QString &objectName, UnitBox box, int maxLength = 0);
    void commitLine(QLineEdit *edit, UnitBox box);
    void commitDescription();

    QPlainTextEdit *m_dbMemo1; // "Beschreibung"
    QLineEdit *m_edit29; // faction number
    QLineEdit *m_dbEdit2; // `Partei Name`
    QCheckBox *m_checkBox3; // "getarnt?"
    QLineEdit *m_dbEdit23; // `Personen`
    QLineEdit *m_dbEdit22; // `Silber`
    QLineEdit *m_dbEdit21; // `Status`
    QLineEdit *m_dbEdit31; // `Hitpoints`
    QPlainTextEdit *m_memo2; // "Gegenstände"
    QPlainTextEdit *m_memo3; // "Talente"
    QLineEdit *m_dbEdit1; // `Einheit Name`, hidden
    QLineEdit *m_dbEdit5; // `Einheit Nr`, hidden
    QLineEdit *m_edit21; // the order editor's unit, hidden
    QList<QPair<QLineEdit *, UnitBox>> m_boundEdits;
};

} // namespace tolvimar
