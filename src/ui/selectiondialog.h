#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace tolvimar {

class Configuration;

// "Spielwahl": the six game slots of the configuration file, each with its name, its
// game type (locked once set) and a button "Start".
class SelectionDialog : public QDialog
{
    Q_OBJECT
public:
    explicit SelectionDialog(QWidget *parent = nullptr);
    void showSlots(const Configuration &config);

signals:
    void startRequested(int game, const QString &name, const QString &typeText);

private:
    void startClick(int game);

    QLineEdit *m_names[6] = {};
    QComboBox *m_types[6] = {};
};

} // namespace tolvimar
