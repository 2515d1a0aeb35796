#pragma once

#include "orders/unitrecord.h"

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QLabel;
class QPlainTextEdit;
class QPushButton;

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
    // The way planned for the unit ("Reisezeit: 2 Runden (3 Regionen)"), or why there
    // is none; empty hides it. "In die Befehle übernehmen" is offered with a time.
    void showTravelTime(const QString &text);
    // Empties the item and talent boxes (when another region is shown).
    void clearBoxes();
    // Empties every box and disables the editable ones: no unit is selected.
    void clearUnit();

signals:
    void boxEdited(tolvimar::UnitBox box, const QString &text);
    // The own unit shown, whose way may be planned; 0 when none is.
    void unitShown(int number);
    // "In die Befehle übernehmen".
    void moveOrderRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *boundEdit(const QString &objectName, UnitBox box, int maxLength = 0);
    void commitLine(QLineEdit *edit, UnitBox box);
    void commitDescription();

    QPlainTextEdit *m_description; // "Beschreibung"
    QLineEdit *m_factionNumber; // faction number
    QLineEdit *m_factionName; // `Partei Name`
    QCheckBox *m_camouflaged; // "getarnt?"
    QLineEdit *m_persons; // `Personen`
    QLineEdit *m_silver; // `Silber`
    QLineEdit *m_status; // `Status`
    QLineEdit *m_hitpoints; // `Hitpoints`
    QPlainTextEdit *m_items; // "Gegenstände"
    QPlainTextEdit *m_skills; // "Talente"
    QLineEdit *m_unitName; // `Einheit Name`, hidden
    QLineEdit *m_unitNumber; // `Einheit Nr`, hidden
    QLineEdit *m_editedUnit; // the order editor's unit, hidden
    QLabel *m_travelTime; // "Reisezeit: ..."
    QPushButton *m_takeMoveOrder; // "In die Befehle übernehmen"
    int m_shownUnit = 0;
    QList<QPair<QLineEdit *, UnitBox>> m_boundEdits;
};

} // namespace tolvimar
