#pragma once

#include "base/position.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace tolvimar {

class Armies;
class ReportGrid;
class Session;

// "Armee Info": the player's units of one army or of all armies with strength,
// combat skills per person and weapons, and the totals of soldiers and weapons.
class ArmyPage : public QWidget
{
    Q_OBJECT
public:
    explicit ArmyPage(QWidget *parent = nullptr);
    ~ArmyPage() override;

    void attach(Session &session);

signals:
    // A double click on a unit's row.
    void unitActivated(const tolvimar::Position &place, int number);

public slots:
    // "Bericht".
    void Bericht();

private:
    Session *m_session = nullptr;
    std::unique_ptr<Armies> m_armies;
    QComboBox *m_armeen;
    QPushButton *m_bericht;
    QLineEdit *m_soldiers;
    QLineEdit *m_weapons;
    QLineEdit *m_rangedWeapons;
    QLabel *m_note;
    ReportGrid *m_grid;
};

} // namespace tolvimar
