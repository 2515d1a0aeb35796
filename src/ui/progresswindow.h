#pragma once

#include <QDialog>

class QLineEdit;
class QProgressBar;
class QPushButton;

namespace tolvimar {

// "Einlesen der Auswertung läuft ...": what the import is reading.
class ProgressWindow : public QDialog
{
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget *parent = nullptr);
    void setStep(const QString &text);
    void setLine(const QString &text);
    void setUnitName(const QString &text);
    void setPercent(int percent);
    void reset();
    // The button "Abbrechen" is shown for work that can be stopped (an import run as a
    // job); Escape then also asks to stop.
    void setCancellable(bool cancellable);
    void reject() override;

signals:
    void cancelRequested();

private:
    QLineEdit *m_step;
    QLineEdit *m_line;
    QLineEdit *m_unit;
    QProgressBar *m_gauge;
    QPushButton *m_cancel;
};

} // namespace tolvimar
