#pragma once

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

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

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void startClick(int game);
    void showTypeState(int game);
    // The slot (1 to 6) that a widget of the dialog belongs to; 0 for none.
    int slotOf(const QWidget *widget) const;

    QLineEdit *m_names[6] = {};
    QComboBox *m_types[6] = {};
    QPushButton *m_starts[6] = {};
    QLabel *m_hints[6] = {};
};

} // namespace tolvimar
