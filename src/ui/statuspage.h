#pragma once

#include "base/activegame.h"

#include <QWidget>

class QLineEdit;
class QListView;
class QStringListModel;

namespace tolvimar {

class StatusIndicator;

// "Status": the faction's status values, the alliances, the autosave light and the
// button that has the checker run.
class StatusPage : public QWidget
{
    Q_OBJECT
public:
    explicit StatusPage(QWidget *parent = nullptr);

    void showStatus(const StatusValues &status);
    void showAlliances(const QStringList &lines);
    void showSaved(bool saved);

signals:
    // "Zug prüfen lassen".
    void checkRequested();

private:
    QLineEdit *m_edits[kSavedStatusFields] = {};
    QListView *m_alliances;
    QStringListModel *m_allianceModel;
    StatusIndicator *m_savedLight;
};

} // namespace tolvimar
