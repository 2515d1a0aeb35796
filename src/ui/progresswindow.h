#pragma once

#include <QDialog>

class QLineEdit;
class QProgressBar;

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

private:
    QLineEdit *m_step;
    QLineEdit *m_line;
    QLineEdit *m_unit;
    QProgressBar *m_gauge;
};

} // namespace tolvimar
