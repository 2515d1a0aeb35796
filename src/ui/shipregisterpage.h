#pragma once

#include "base/position.h"
#include "militarylistpage.h"

#include <memory>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace tolvimar {

class ShipRegister;

// "Schiffsregister": the ships seen in a turn, of one faction or all (-2), of one
// type or all, and their count.
class ShipRegisterPage : public MilitaryListPage
{
    Q_OBJECT
public:
    explicit ShipRegisterPage(QWidget *parent = nullptr);
    ~ShipRegisterPage() override;

signals:
    // A double click on a ship's row: the region the ship is in.
    void regionActivated(const tolvimar::Position &place);

public slots:
    // "Bericht".
    void Bericht();

protected:
    void openQueries(Database &database) override;
    QVector<FactionRow> factionChoices(int game) override;

private:
    std::unique_ptr<ShipRegister> m_register;
    QComboBox *m_type;
    QPushButton *m_bericht;
    QLineEdit *m_found;
};

} // namespace tolvimar
