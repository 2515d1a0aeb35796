#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QTextBrowser;
class QTimer;

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

// "Kalmora Assistent Info".
class AboutBox : public QDialog
{
    Q_OBJECT
public:
    explicit AboutBox(QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    QTextBrowser *m_text;
    QTimer *m_scroll;
};

// "Zug Checker Ausgabe": the order checker's output.
class CheckerOutputWindow : public QDialog
{
    Q_OBJECT
public:
    explicit CheckerOutputWindow(QWidget *parent = nullptr);
    void showOutput(const QString &text);
    QString output() const;

private:
    QPlainTextEdit *m_memo;
};

// "Befehlseditor": edits one own unit's orders.
class OrderEditorWindow : public QDialog
{
    Q_OBJECT
public:
    explicit OrderEditorWindow(QWidget *parent = nullptr);
};

// "Manuelle Regionserfassung": a region entered by hand.
class RegionEntryDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RegionEntryDialog(QWidget *parent = nullptr);
};

} // namespace tolvimar
