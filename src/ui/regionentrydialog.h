#pragma once

#include "base/position.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace tolvimar {

class Session;

// "Manuelle Regionserfassung": a region entered by hand on the selected map level.
class RegionEntryDialog : public QDialog
{
    Q_OBJECT
public:
    RegionEntryDialog(Session &session, QWidget *mainWindow);
    // Disables the main window and shows the dialog emptied, "Ebene" chosen.
    void open() override;
    void reject() override;

public slots:
    // "Speichern": stores the region and centres the small map on it.
    void Button1Click();
    // "Abbrechen": back to the main window, nothing stored.
    void Button2Click();

signals:
    // A region was stored at (x, y).
    void regionSaved(const tolvimar::Position &place);

private:
    void backToMainWindow();
    bool readCoordinate(QLineEdit *edit, const QString &what, int *value);

    Session &m_session;
    QWidget *m_mainWindow;
    QLineEdit *m_name;
    QLineEdit *m_x; // "Breite"
    QLineEdit *m_y; // "Länge"
    QLineEdit *m_exportGood;
    QComboBox *m_terrain;
};

} // namespace tolvimar
