#pragma once

#include "base/position.h"

#include <QWidget>
#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tolvimar {

class ReportGrid;
class Session;
class ShipRegister;

// "Schiffsregister": the ships seen in a turn, of one faction or all (-2), of one
// type or all, and their count.
class ShipRegisterPage : public QWidget
{
    Q_OBJECT
public:
    explicit ShipRegisterPage(QWidget *parent = nullptr);
    ~ShipRegisterPage() override;

    // The session whose game the page reports on; the faction choice follows its game.
    void attach(Session &session);
    // The newest turn into "Info Datum".
    void showInfoDatum(qint64 turn);
    ReportGrid *grid() const { return m_grid; }

signals:
    // A double click on a ship's row: the region the ship is in.
    void regionActivated(const tolvimar::Position &place);

public slots:
    // "Bericht".
    void Bericht();

private:
    void loadFactions();

    Session *m_session = nullptr;
    std::unique_ptr<ShipRegister> m_register;
    QComboBox *m_faction;
    QLineEdit *m_factionNumber;
    QComboBox *m_type;
    QComboBox *m_comparison;
    QLineEdit *m_infoDatum;
    QPushButton *m_bericht;
    QLineEdit *m_found;
    ReportGrid *m_grid;
};

} // namespace tolvimar
